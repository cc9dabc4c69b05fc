// The random-selection window ("addrandom"): fills the current list with words drawn at
// random from the whole word file.
#pragma once

#include <windows.h>

// Opens the window over the practice-list window, whose search field gets the focus back
// when it closes; `drawn` runs once words were appended to the list.
HWND OpenRandomWindow(HWND searchField, void (*drawn)());
// The open window, or none.
HWND RandomWindow();
void CloseRandomWindow();
