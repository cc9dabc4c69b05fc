#include "ui/progress_window.h"

#include "core/strings/ui_strings.h"
#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

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

HWND OpenProgressWindow(const char* className, UiKey caption, ProgressPaint paint, SIZE size) {
    return OpenProgressWindow(className, Ui(caption), paint, size);
}

HWND OpenProgressWindow(const char* className, const char* caption, ProgressPaint paint, SIZE size) {
    RegisterWindowClass(className, ProgressWindowProc);
    HWND window = CreateCentredWindow(className, caption, WS_CAPTION | WS_SYSMENU, size.cx, size.cy);
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

bool ProgressCancelled(HWND window) {
    bool cancelled = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        cancelled = cancelled || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE);
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE))
        cancelled = cancelled || (msg.hwnd == window && msg.message == WM_NCLBUTTONDOWN && msg.wParam == HTCLOSE);
    // A window whose paint leaves its region invalid would come back each time: a bound.
    for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) DispatchMessageW(&msg);
    return cancelled;
}

void DrawProgressText(HWND window, RECT band, const char* text) {
    if (!window) return;  // never draw on the desktop
    WindowDc dc(window);
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard font(dc, Fonts.GuiFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(50, 50, 50));
    DrawTextW(dc, WideFromCharset(text, UiCharset).c_str(), -1, &band, DT_SINGLELINE | DT_LEFT);
    // Wine shows what was drawn outside a paint only once the thread looks at its queue;
    // looking for a message that never comes shows it and takes none of the queued ones.
    MSG none;
    PeekMessageW(&none, window, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
}
