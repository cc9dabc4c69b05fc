// The palette window ("tekenset"): two rows of character buttons above its owner.

#include "ui/palette_window.h"

#include <windowsx.h>

#include <algorithm>

#include "core/editing/palette_characters.h"
#include "core/settings/settings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/menus.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

PaletteContext Palette;

namespace {

const char kClassName[] = "tekenset";
constexpr int kButtonWidth = kPaletteButtonWidth, kButtonHeight = 23, kHeight = 70;

struct PaletteState {
    Font font;
    std::string characters;
};

PaletteState s;

// A click types the character into the target field, as a key press would: at the
// caret, over a selection, within the field's limit.
void OnCommand(HWND, int id, HWND, UINT) {
    if (id < 0 || static_cast<std::size_t>(id) >= s.characters.size() || !Palette.target) return;
    SetFocus(Palette.target);
    const char byte[2] = {s.characters[static_cast<std::size_t>(id)], '\0'};
    const std::wstring typed = WideFromCharset(byte, Palette.charset);
    if (!typed.empty()) SendMessageW(Palette.target, WM_CHAR, typed[0], 1);
}

LRESULT CALLBACK PaletteWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        case WM_CLOSE:
            return 0;  // closed through the owner's menu only
        case WM_DESTROY:
            if (Palette.window == hwnd) Palette.window = nullptr;
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void OpenPalette() {
    ClosePalette();
    RegisterWindowClass(kClassName, PaletteWindowProc);
    s.font.reset(CreateUiFont(11, FW_NORMAL, "Times New Roman", Palette.charset));
    s.characters = PaletteCharacters(Palette.language);
    const int width = PaletteWidth(s.characters.size());
    RECT owner = {};
    if (Palette.owner) GetWindowRect(Palette.owner, &owner);
    const int left = std::max<int>(0, owner.left + (owner.right - owner.left - width) / 2);
    const int top = std::max<int>(0, owner.top - kHeight);
    Palette.window =
        CreateWindowW(WideFromCharset(kClassName, 0).c_str(), UiWide(UiKey::CharacterSet).c_str(),
                      WS_CAPTION | WS_POPUP, left, top, width, kHeight, Palette.owner, nullptr, AppInstance, nullptr);
    if (!Palette.window) return;
    const int columns = PaletteColumns(s.characters.size());
    for (std::size_t i = 0; i < s.characters.size(); ++i) {
        const int row = static_cast<int>(i) < columns ? 0 : 1;
        const int column = static_cast<int>(i) - row * columns;
        const char byte[2] = {s.characters[i], '\0'};
        // A lone & in a button label marks the next letter and shows nothing itself.
        std::wstring label = WideFromCharset(byte, Palette.charset);
        if (label == L"&") label = L"&&";
        HWND button =
            CreateWindowW(L"BUTTON", label.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, kButtonWidth * column,
                          kButtonHeight * row, kButtonWidth, kButtonHeight, Palette.window,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(i)), AppInstance, nullptr);
        SetWindowFont(button, s.font.get(), FALSE);
    }
    SetTopmost(Palette.window, Settings.StayOnTop == 1);
    ShowWindow(Palette.window, SW_SHOWNOACTIVATE);
}

void OfferPalette(HWND owner, HWND field, int charset, const char* language) {
    Palette.owner = owner;
    Palette.target = field;
    Palette.charset = charset;
    Palette.language = language;
    Palette.shown = false;
}

void PaletteFollows(HWND field, int charset, const char* language) {
    Palette.target = field;
    if (charset == Palette.charset) return;
    Palette.charset = charset;
    Palette.language = language;
    if (Palette.shown) {
        OpenPalette();
        SetFocus(field);
    }
}

void AppendPaletteMenu(HMENU bar, UiKey title, UiKey show, UiKey hide) {
    AppendPopup(bar, Popup({{show, IDM_PALETTE_SHOW}, {hide, IDM_PALETTE_HIDE, true}}), title);
}

void ShowPalette(bool shown) {
    HMENU menu = GetMenu(Palette.owner);
    CheckMenuItem(menu, IDM_PALETTE_SHOW, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, IDM_PALETTE_HIDE, MF_BYCOMMAND | (shown ? MF_UNCHECKED : MF_CHECKED));
    Palette.shown = shown;
    ClosePalette();
    if (shown) {
        OpenPalette();
        if (Palette.target) SetFocus(Palette.target);
    }
}

void ClosePalette() {
    if (Palette.window) DestroyWindow(Palette.window);
    Palette.window = nullptr;
    s.font.reset();
    if (Palette.target) SetFocus(Palette.target);
}
