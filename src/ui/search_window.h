// The search window ("zoeken"): look words up as they are typed or copied, and
// correct, delete and restore records in place.
#pragma once

#include <windows.h>

HWND OpenSearchWindow();
// Closes the palette and sorts the word file when the window changed it.
void CloseSearchWindow();
// When the program ends with the window still open: it leaves the clipboard chain, so
// the chain does not keep a window that is gone.
void ForgetSearchWindow();
