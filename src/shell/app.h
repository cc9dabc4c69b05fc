// Process-wide state of the running program that belongs to its windows.
#pragma once

#include <windows.h>

#include <string>

#include "shell/ui_keys.h"

struct SharedFonts {
    HFONT TitleFont, LanguageNameFont, ListWindowFont, TranslateBoldFont;
    HFONT SearchBoldFont, PracticeBoldFont, ListSmallFont, GuiFont;
};

extern HINSTANCE AppInstance;
extern HWND MainWindow;
extern SharedFonts Fonts;
extern int RecorderMode;
extern int UiCharset;
extern int SecondaryWindowOpen;

// A font by points (at a fixed 96 dpi), weight, face and character set; the
// character set 500 stands for the "Times SudEuro" face.
HFONT CreateUiFont(int points, int weight, const char* face, int charset);
// The eight fonts every window shares, in the interface's character set.
void CreateSharedFonts();
void DeleteSharedFonts();

// Single-byte text of a character set as the UTF-16 the controls show, and back.
std::wstring WideFromCharset(const char* text, int charset);
std::string CharsetFromWide(const wchar_t* text, int charset);

// Main window (main_window.cpp): its class, the window, its menu bar with the
// language menu, and the accelerators that deliver commands to it.
void RegisterMainWindowClass();
HWND CreateMainWindow();
void AttachMainMenus(HWND mainWindow);
HACCEL CreateMainAccelerators();
extern int CheckedPairCommand;
// Switches to the pair whose language-menu id is `id`, as the main window's language menu
// does (check mark, selection saved, store reopened, flags); false when no pair has it.
bool SwitchPairByCommand(int id);

// The one-window contract: a secondary window opens only while none is open; the main
// window hides while it is open and comes back when it closes.
bool OpenSecondaryWindow(HWND (*open)());
void SecondaryWindowClosed();

// Window places kept in the settings: where a window's normal rectangle is, and moving
// a new window to a stored place (when one is known) without changing its size.
struct WindowPosition;
WindowPosition NormalPosition(HWND hwnd);
void MoveToStoredPosition(HWND hwnd, const WindowPosition& stored);

// Opens the help file in the user's browser, at its contents or at a keyword's section.
void OpenHelp(const char* keyword);

// A monochrome mask of a bitmap, set where the bitmap has `transparent`; those pixels of
// the bitmap become black, so AND-ing the mask and OR-ing the bitmap draws it over anything.
HBITMAP MakeTransparencyMask(HBITMAP bitmap, COLORREF transparent);

// Text drawn in light grey, then in green one pixel up and left of it, on a
// transparent background: the headings of most windows.
void DrawShadowedText(HDC dc, const char* text, RECT rect, UINT format, int charset);

// Registers a window class of the program once: its icon, the arrow cursor and the
// light-grey background every window has.
void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style = 0);

// A control's text (or a dialog's caption, with id 0) from the interface texts.
void SetUiText(HWND dialog, int id, UiKey key);

// Keeps a window above all others or explicitly not, without moving or activating it.
void SetTopmost(HWND hwnd, bool topmost);

// Creates a top-level window of a registered class centred on the screen, topmost
// when StayOnTop is 1 and explicitly not topmost otherwise.
HWND CreateCentredWindow(const char* className, const char* title, DWORD style, int width, int height);
