#include "ui/top_level_window.h"

#include "core/settings/settings.h"
#include "ui/app_state.h"
#include "ui/ui_text.h"

HWND CreateCentredWindow(const char* className, const char* title, DWORD style, int width, int height) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND hwnd = CreateWindowW(WideFromCharset(className, 0).c_str(), WideFromCharset(title, UiCharset).c_str(), style,
                              left, top, width, height, nullptr, nullptr, AppInstance, nullptr);
    if (hwnd) SetTopmost(hwnd, Settings.StayOnTop == 1);
    return hwnd;
}

HWND OpenCentredWindow(const char* className, WNDPROC procedure, UINT classStyle, const char* title, DWORD style,
                       int width, int height) {
    RegisterWindowClass(className, procedure, classStyle);
    HWND hwnd = CreateCentredWindow(className, title, style, width, height);
    if (!hwnd) return nullptr;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return hwnd;
}

void FocusOnActivation(UINT state, BOOL minimized, HWND target) {
    if (state != WA_INACTIVE && !minimized && target && IsWindowEnabled(target)) SetFocus(target);
}

void SetTopmost(HWND hwnd, bool topmost) {
    SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Unicode classes, so titles and texts in any character set survive the system's code page.
void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style) {
    const std::wstring name = WideFromCharset(className, 0);
    WNDCLASSEXW wc = {};
    if (GetClassInfoExW(AppInstance, name.c_str(), &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = AppInstance;
    wc.hIcon = LoadIconW(AppInstance, L"gloskicon");
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = name.c_str();
    RegisterClassExW(&wc);
}

WindowPosition NormalPosition(HWND hwnd) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd, &placement);
    return {static_cast<int>(placement.rcNormalPosition.left), static_cast<int>(placement.rcNormalPosition.top)};
}

// Placements are in work-area coordinates, so a place goes back the way it was read.
void MoveToStoredPosition(HWND hwnd, const WindowPosition& stored) {
    if (!stored.Known()) return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd, &placement);
    RECT& r = placement.rcNormalPosition;
    OffsetRect(&r, stored.left - r.left, stored.top - r.top);
    placement.showCmd = IsWindowVisible(hwnd) ? SW_SHOWNA : SW_HIDE;
    SetWindowPlacement(hwnd, &placement);
}
