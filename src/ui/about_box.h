// The about box: four lines of text beside a looping animation.
#pragma once

#include <windows.h>

void RunAboutBox(HWND owner);
