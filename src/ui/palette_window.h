// The character-set palette: buttons that type letters the keyboard lacks into the
// field of its owner window that last had the focus.
#pragma once

#include <windows.h>

#include <string>

struct PaletteContext {
    HWND owner;            // the palette floats above it
    HWND target;           // the field that receives the characters
    int charset;           // the character set of that field's language
    std::string language;  // selects the palette file
    HWND window;           // the open palette, or none
};

extern PaletteContext Palette;

void OpenPalette();
void ClosePalette();
