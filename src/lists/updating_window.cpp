// The "updating" window: shown, painted once, and closed around the compaction of a
// list, which does not dispatch messages in between.

#include "lists/list_storage.h"
#include "lists/list_windows.h"
#include "shell/app.h"
#include "shell/ui_strings.h"

#include <windowsx.h>

namespace {

const char kClassName[] = "updating";
HWND updatingWindow;

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HGDIOBJ oldFont = SelectObject(dc, Fonts.GuiFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT rect = {50, 20, 340, 40};
    const std::wstring text = WideFromCharset(Ui(UiKey::CreateListUpdarting), UiCharset);
    DrawTextW(dc, text.c_str(), -1, &rect, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK UpdatingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void ShowUpdatingWindow() {
    RegisterWindowClass(kClassName, UpdatingWindowProc);
    updatingWindow =
        CreateCentredWindow(kClassName, Ui(UiKey::CreateListUpdateCaption), WS_CAPTION | WS_SYSMENU, 350, 120);
    ShowWindow(updatingWindow, SW_SHOW);
    UpdateWindow(updatingWindow);
}

void CloseUpdatingWindow() {
    if (updatingWindow) DestroyWindow(updatingWindow);
    updatingWindow = nullptr;
}

int CompactCurrentListShown() {
    ShowUpdatingWindow();
    int result = CompactCurrentList();
    CloseUpdatingWindow();
    return result;
}
