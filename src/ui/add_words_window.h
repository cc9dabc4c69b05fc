// The add-words window ("toevoeg"): a word and its translations, stored in the current
// pair and fed to the reverse pair; both word files are sorted again at closing.
#pragma once

#include <windows.h>

HWND OpenAddWindow();
