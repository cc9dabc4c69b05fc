; The Windows installer. The program and its command-line companion go into Program Files;
; the demo content becomes the user's working directory in Documents, where the program
; finds its texts, word files and lists (it reads them from the directory it is started
; in); the Start-menu shortcut starts it there. cmake/packaging.cmake runs this with
;
;   makensis -DARCH=win64|win32 -DPROGRAM=dictionary.exe -DWORDLIST=wordlist.exe
;            -DDATA=data-folder -DICON=icon -DOUTFILE=setup.exe dictionary.nsi

!if "${ARCH}" == "win64"
  Target amd64-unicode
  !define PROGRAMS_ROOT "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAMS_ROOT "$PROGRAMFILES"
!endif

!define PRODUCT "Dictionary"
!define WORKDIR "$DOCUMENTS\Dictionary"
!define SHORTCUT "$SMPROGRAMS\Dictionary.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dictionary"
; The program's main window; while it exists its files cannot be replaced or removed.
!define MAIN_WINDOW_CLASS "glosk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true
InstallDir "${PROGRAMS_ROOT}\Dictionary"
; An update goes where the previous installation went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Dictionary is installed. Start it from the Start menu.$\r$\n$\r$\nYour word lists, practice lists and recordings are kept in Documents\Dictionary."
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "The program will be removed. Your word lists, practice lists and recordings in Documents\Dictionary stay where they are."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!macro RefuseWhileProgramRuns
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "Dictionary is running. Close it and try again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileProgramRuns
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileProgramRuns
FunctionEnd

Section "Dictionary"
  SetOutPath "$INSTDIR"
  File "/oname=dictionary.exe" "${PROGRAM}"
  File "/oname=wordlist.exe" "${WORDLIST}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; A working directory that already exists holds the user's own words and settings:
  ; the demo content only starts a new one.
  ${IfNot} ${FileExists} "${WORKDIR}\*.*"
    SetOutPath "${WORKDIR}"
    File /r /x strings /x help /x backups "${DATA}/*.*"
  ${EndIf}
  ; The interface texts and the help belong to this version of the program (a strings
  ; file without a key the program asks for stops it at start-up), so they are renewed.
  SetOutPath "${WORKDIR}\strings"
  File "${DATA}/strings/english.str" "${DATA}/strings/dutch.str"
  SetOutPath "${WORKDIR}\help"
  File "${DATA}/help/*.htm"

  ; A shortcut starts in the folder of the last SetOutPath.
  SetOutPath "${WORKDIR}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\dictionary.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dictionary.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only the files the installer put there, by name, and the folder only when that leaves it
; empty: the working directory in Documents is the user's, and so is anything else that
; was put into the program's folder.
Section "Uninstall"
  Delete "$INSTDIR\dictionary.exe"
  Delete "$INSTDIR\wordlist.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
