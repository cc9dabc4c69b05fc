#include "ui/fonts.h"

#include <windowsx.h>

#include "core/catalogue/catalogue.h"
#include "core/settings/settings.h"
#include "ui/app_state.h"

SharedFonts Fonts;

namespace {

// The smoothing the user chose for the screen, named outright: what the default quality
// means on Windows. Wine looks the default up in the X resources each time a font is
// selected into a device context, which without a resource database means opening two files
// for every cell a page paints.
DWORD ScreenQuality() {
    BOOL smoothing = TRUE;
    UINT type = FE_FONTSMOOTHINGSTANDARD;
    if (!SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0)) return DEFAULT_QUALITY;
    if (!smoothing) return NONANTIALIASED_QUALITY;
    SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0);
    return type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY;
}

}  // namespace

HFONT CreateUiFont(int points, int weight, const char* face, int charset) {
    const int height = -MulDiv(points, 96, 72);
    const DWORD quality = ScreenQuality();
    if (charset == kSudEuroCharset)
        return CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, quality, 0, "Times SudEuro");
    return CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, static_cast<DWORD>(charset), 0, 0, quality, 0, face);
}

void CreateSharedFonts() {
    Fonts.TitleFont = CreateUiFont(43, FW_BOLD, "Times New Roman", UiCharset);
    Fonts.LanguageNameFont = CreateUiFont(Settings.languagefontsize, FW_BOLD, Settings.languagefont.c_str(), UiCharset);
    Fonts.ListWindowFont = CreateUiFont(15, FW_NORMAL, "Arial", UiCharset);
    Fonts.TranslateBoldFont = CreateUiFont(14, FW_BOLD, "Arial", UiCharset);
    Fonts.SearchBoldFont = CreateUiFont(12, FW_BOLD, "Arial", UiCharset);
    Fonts.PracticeBoldFont = CreateUiFont(15, FW_BOLD, "Arial", UiCharset);
    Fonts.ListSmallFont = CreateUiFont(10, FW_NORMAL, "Arial", UiCharset);
    Fonts.GuiFont = CreateUiFont(Settings.guifontsize, FW_NORMAL, Settings.guifont.c_str(), UiCharset);
}

void DeleteSharedFonts() {
    for (HFONT font : {Fonts.TitleFont, Fonts.LanguageNameFont, Fonts.ListWindowFont, Fonts.TranslateBoldFont,
                       Fonts.SearchBoldFont, Fonts.PracticeBoldFont, Fonts.ListSmallFont, Fonts.GuiFont})
        DeleteObject(font);
    Fonts = SharedFonts{};
}

void SetEditFont(HWND edit, HFONT font) {
    SetWindowFont(edit, font, FALSE);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

void LanguageFonts::Create(const WordListDescriptor& pair, int points, int weight) {
    first.reset(CreateUiFont(points, weight, "Times New Roman", pair.charset1));
    second.reset(CreateUiFont(points, weight, "Times New Roman", pair.charset2));
}

void LanguageFonts::Apply(const HWND* words, const HWND* translations, int rows, HWND search) const {
    for (int r = 0; r < rows; ++r) {
        SetEditFont(words[r], first.get());
        SetEditFont(translations[r], second.get());
    }
    SetEditFont(search, first.get());
}
