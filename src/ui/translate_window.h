// The translate window ("vertaal"): a text to read, and the dictionary entry of the word
// at the caret.
#pragma once

#include <windows.h>

#include <string>

HWND OpenTranslateWindow();
// Loads a file's bytes as the text to read; false, with a message when it is too large,
// when it cannot be read.
bool LoadTextFile(const std::string& path);
