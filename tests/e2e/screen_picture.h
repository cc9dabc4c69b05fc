// Saving part of the screen as a 24-bit BMP file, for people to look at.
#pragma once

#include <windows.h>

#include <string>

bool SaveScreenPicture(const RECT& area, const std::string& path);
