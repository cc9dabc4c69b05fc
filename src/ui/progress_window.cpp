#include "ui/progress_window.h"

#include "core/strings/ui_strings.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/top_level_window.h"

namespace {

constexpr int kWidth = 350, kHeight = 120;

LRESULT CALLBACK ProgressWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (auto paint = reinterpret_cast<ProgressPaint>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            SelectGuard font(dc, Fonts.GuiFont);
            SetBkMode(dc, TRANSPARENT);
            paint(dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenProgressWindow(const char* className, UiKey caption, ProgressPaint paint) {
    RegisterWindowClass(className, ProgressWindowProc);
    HWND window = CreateCentredWindow(className, Ui(caption), WS_CAPTION | WS_SYSMENU, kWidth, kHeight);
    if (!window) return nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(paint));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

void CloseProgressWindow(HWND& window) {
    if (window) DestroyWindow(window);
    window = nullptr;
}
