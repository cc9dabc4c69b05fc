// The sound recorder ("record"): each word of the word file in turn, recorded through
// the sound card into the file the search window plays.
#pragma once

#include <windows.h>

HWND OpenRecorderWindow();

// What sends the recorder's MCI command strings and returns the MCI error (0 on success);
// a test puts its own in place to make a step fail. Null restores the system's.
using MciSender = DWORD (*)(const char* command);
void SetRecorderMciSender(MciSender send);
