// Process-wide state of the running program that belongs to its windows.
#pragma once

#include <windows.h>

#include <string>

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

// Single-byte text of a character set as the UTF-16 the controls show, and back.
std::wstring WideFromCharset(const char* text, int charset);
std::string CharsetFromWide(const wchar_t* text, int charset);

// Main window (main_window.cpp).
ATOM RegisterMainWindowClass();
HWND CreateMainWindow();
