// The fonts: one made per window need, and the eight every window shares.
#pragma once

#include <windows.h>

#include "ui/gdi.h"

struct WordListDescriptor;

struct SharedFonts {
    HFONT TitleFont, LanguageNameFont, ListWindowFont, TranslateBoldFont;
    HFONT SearchBoldFont, PracticeBoldFont, ListSmallFont, GuiFont;
};

extern SharedFonts Fonts;

// The character-set code that stands for the "Times SudEuro" face.
constexpr int kSudEuroCharset = 500;

// A font by points (at a fixed 96 dpi), weight, face and character set.
HFONT CreateUiFont(int points, int weight, const char* face, int charset);
// A new font for a field: its margins go back to zero, which a font change resets.
void SetEditFont(HWND edit, HFONT font);
// The eight fonts every window shares, in the interface's character set.
void CreateSharedFonts();
void DeleteSharedFonts();

// "Times New Roman" in a pair's two character sets: its words in the first, its
// translations in the second.
struct LanguageFonts {
    Font first, second;
    void Create(const WordListDescriptor& pair, int points, int weight);
    void Reset() {
        first.reset();
        second.reset();
    }
    // A pair switch: rows of word and translation fields, and the search field, in these
    // fonts. The fonts they had go only once no field uses them any more.
    void Apply(const HWND* words, const HWND* translations, int rows, HWND search) const;
};
