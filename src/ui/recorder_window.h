// The sound recorder ("record"): each word of the word file in turn, recorded through
// the sound card into the file the search window plays.
#pragma once

#include <windows.h>

HWND OpenRecorderWindow();
