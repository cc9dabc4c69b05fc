#include "ui/controls.h"

#include <windowsx.h>

#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/ui_text.h"

namespace {

HMENU ChildId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

}  // namespace

HWND CreateButton(HWND parent, int id, UiKey label, int x, int y, int width, int height, DWORD style) {
    HWND button = CreateWindowW(L"BUTTON", UiWide(label).c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | style, x, y,
                                width, height, parent, ChildId(id), AppInstance, nullptr);
    SetWindowFont(button, Fonts.GuiFont, FALSE);
    return button;
}

HWND CreateEdit(HWND parent, int id, int x, int y, int width, int height, HFONT font, DWORD style) {
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, width,
                                height, parent, ChildId(id), AppInstance, nullptr);
    SetEditFont(edit, font);
    return edit;
}

void SetEditFont(HWND edit, HFONT font) {
    SetWindowFont(edit, font, FALSE);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

HBRUSH OnCtlColorGrey(HWND, HDC dc, HWND, int) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}
