// The main window ("glosk"): its class, the window, its menu bar with the language menu,
// and the accelerators that deliver commands to it.
#pragma once

#include <windows.h>

extern int CheckedPairCommand;

void RegisterMainWindowClass();
HWND CreateMainWindow();
void AttachMainMenus(HWND mainWindow);
HACCEL CreateMainAccelerators();
// Switches to the pair whose language-menu id is `id`, as the main window's language menu
// does (check mark, selection saved, store reopened, flags); false when no pair has it.
bool SwitchPairByCommand(int id);
// The language menu of the main window, popped up at a point of another window's client area.
void PopUpLanguageMenu(HWND owner, int x, int y);
