// The new-word-list window ("createnew"): a language of the user's own, with its locale
// and character set.
#pragma once

#include <windows.h>

HWND OpenNewLanguageWindow();
