// Process-wide state of the running program that belongs to its windows.
#pragma once

#include <windows.h>

extern HINSTANCE AppInstance;
extern HWND MainWindow;
extern int RecorderMode;
// The character set of the interface's texts (the strings file's CharactersetCode).
extern int UiCharset;

// Posted to the main window when the catalogue was built again with a new language.
constexpr UINT kCatalogueChanged = WM_APP + 1;
