#include "ui/controls.h"

#include <windowsx.h>

#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/ui_text.h"

namespace {

HMENU ChildId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

}  // namespace

HWND CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                   int x, int y, int width, int height, HFONT font) {
    HWND control = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                   parent, ChildId(id), AppInstance, nullptr);
    SetWindowFont(control, font, FALSE);
    return control;
}

HWND CreateButton(HWND parent, int id, UiKey label, int x, int y, int width, int height, DWORD style) {
    return CreateControl(parent, L"BUTTON", UiWide(label), BS_PUSHBUTTON | style, 0, id, x, y, width, height,
                         Fonts.GuiFont);
}

HWND CreateEdit(HWND parent, int id, int x, int y, int width, int height, HFONT font, DWORD style) {
    HWND edit =
        CreateControl(parent, L"EDIT", L"", WS_TABSTOP | style, WS_EX_CLIENTEDGE, id, x, y, width, height, font);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    return edit;
}

HWND CreateRowField(HWND parent, int id, int x, int y, int width, int limit, HFONT font) {
    HWND field = CreateEdit(parent, id, x, y, width, 25, font, ES_AUTOHSCROLL);
    if (limit > 0) Edit_LimitText(field, limit);
    return field;
}

HWND CreateLabel(HWND parent, int id, const std::wstring& text, int x, int y, int width, int height, HFONT font) {
    return CreateControl(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX, 0, id, x, y, width, height, font);
}

void SetEditFont(HWND edit, HFONT font) {
    SetWindowFont(edit, font, FALSE);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

HBRUSH OnCtlColorGrey(HWND, HDC dc, HWND, int) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}
