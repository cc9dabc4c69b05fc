// Flash practice ("leren"): the list's words one at a time, each followed by its
// translation, at the pace of a slider.
#pragma once

#include <windows.h>

HWND OpenFlashPractice();
