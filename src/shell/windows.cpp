#include "shell/app.h"
#include "shell/settings.h"

HWND CreateCentredWindow(const char* className, const char* title, DWORD style, int width, int height) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND hwnd = CreateWindowW(WideFromCharset(className, 0).c_str(), WideFromCharset(title, UiCharset).c_str(), style,
                              left, top, width, height, nullptr, nullptr, AppInstance, nullptr);
    if (hwnd)
        SetWindowPos(hwnd, Settings.StayOnTop == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return hwnd;
}
