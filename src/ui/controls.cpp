#include "ui/controls.h"

#include <uxtheme.h>
#include <windowsx.h>

#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/ui_text.h"

namespace {

HMENU ChildId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

struct TakenOver {
    WNDPROC own;
    ControlProc proc;
    LONG_PTR data;
};

TakenOver* TakenOverOf(HWND control) { return reinterpret_cast<TakenOver*>(GetWindowLongPtrW(control, GWLP_USERDATA)); }

LRESULT CALLBACK TakenOverProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    TakenOver* taken = TakenOverOf(control);
    if (msg != WM_NCDESTROY) return taken->proc(control, msg, wParam, lParam, taken->data);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(taken->own));
    SetWindowLongPtrW(control, GWLP_USERDATA, 0);
    const LRESULT result = CallWindowProcW(taken->own, control, msg, wParam, lParam);
    delete taken;
    return result;
}

}  // namespace

HWND CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                   int x, int y, int width, int height, HFONT font) {
    HWND control = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                   parent, ChildId(id), AppInstance, nullptr);
    SetWindowFont(control, font, FALSE);
    return control;
}

void TakeOver(HWND control, ControlProc proc, LONG_PTR data) {
    auto* taken = new TakenOver{nullptr, proc, data};
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(taken));
    taken->own =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TakenOverProc)));
}

LRESULT PassOn(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A message can destroy its control (Return that closes the window): then it has no
    // procedure left to go to.
    const TakenOver* taken = TakenOverOf(control);
    return taken ? CallWindowProcW(taken->own, control, msg, wParam, lParam) : 0;
}

HWND CreatePageScrollBar(HWND parent, int id, int x, int y, int height) {
    HWND bar = CreateWindowW(L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, x, y, 20, height, parent, ChildId(id),
                             AppInstance, nullptr);
    SetWindowTheme(bar, L" ", L" ");
    return bar;
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

HBRUSH OnCtlColorGrey(HWND, HDC dc, HWND, int) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}
