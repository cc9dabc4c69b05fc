// The main window ("glosk"): its class, the window, its menu bar with the language menu,
// and the accelerators that deliver commands to it.
#pragma once

#include <windows.h>

extern int CheckedPairCommand;

void RegisterMainWindowClass();
HWND CreateMainWindow();
void AttachMainMenus(HWND mainWindow);
HACCEL CreateMainAccelerators();
