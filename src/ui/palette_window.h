// The character-set palette: buttons that type letters the keyboard lacks into the
// field of its owner window that last had the focus.
#pragma once

#include <windows.h>

#include <string>

#include "core/strings/ui_keys.h"

struct PaletteContext {
    HWND owner;            // the palette floats above it
    HWND target;           // the field that receives the characters
    int charset;           // the character set of that field's language
    std::string language;  // selects the palette file
    HWND window;           // the open palette, or none
    bool shown;            // the owner's menu has it on
};

extern PaletteContext Palette;

void OpenPalette();
void ClosePalette();

// A window that offers the palette: it is its owner, typing into `field` in the language
// (`charset`, `language`) of that field; the palette starts hidden.
void OfferPalette(HWND owner, HWND field, int charset, const char* language);
// A field gained the focus: the palette types there, in its language. Only a change of
// character set reopens a shown palette (the language name alone does not).
void PaletteFollows(HWND field, int charset, const char* language);
// The owner's menu of the palette: items 6 (show) and 7 (hide, checked at first).
void AppendPaletteMenu(HMENU bar, UiKey title, UiKey show, UiKey hide);
// Items 6 and 7: the check marks move, and the palette opens or closes.
void ShowPalette(bool shown);
