// Reading part of the screen back, and saving it as a 24-bit BMP file for people to look at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The area's pixels as 24-bit rows, bottom-up, each padded to four bytes.
std::vector<unsigned char> ScreenBits(const RECT& area);
// Waits until the area shows a picture that no longer changes (its window painted), for at
// most the time given.
bool WaitForSteadyPicture(const RECT& area, int timeoutMs);
bool SaveScreenPicture(const RECT& area, const std::string& path);
