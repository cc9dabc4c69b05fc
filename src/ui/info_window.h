// The word-list information window: every pair with its number of words, its collation
// locale and the character set of its first language.
#pragma once

#include <windows.h>

// Creates and shows the window; the caller has claimed the secondary-window slot.
HWND OpenInfoWindow();
