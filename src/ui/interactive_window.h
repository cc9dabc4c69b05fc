// Interactive practice ("leren2"): every word of the list asked once, the translation
// typed, with counters, sounds and a best score kept per list file.
#pragma once

#include <windows.h>

HWND OpenInteractivePractice();
