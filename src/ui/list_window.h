// The practice-list window ("lijst").
#pragma once

#include <windows.h>

HWND OpenListWindow();
