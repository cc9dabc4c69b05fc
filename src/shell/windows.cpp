#include "shell/app.h"

#include <shellapi.h>

#include "shell/settings.h"
#include "shell/ui_strings.h"

HWND CreateCentredWindow(const char* className, const char* title, DWORD style, int width, int height) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND hwnd = CreateWindowW(WideFromCharset(className, 0).c_str(), WideFromCharset(title, UiCharset).c_str(), style,
                              left, top, width, height, nullptr, nullptr, AppInstance, nullptr);
    if (hwnd) SetTopmost(hwnd, Settings.StayOnTop == 1);
    return hwnd;
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

void SetUiText(HWND dialog, int id, UiKey key) {
    const std::wstring text = WideFromCharset(Ui(key), UiCharset);
    if (id == 0)
        SetWindowTextW(dialog, text.c_str());
    else
        SetDlgItemTextW(dialog, id, text.c_str());
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

bool OpenSecondaryWindow(HWND (*open)()) {
    if (SecondaryWindowOpen) return false;
    SecondaryWindowOpen = 1;
    HWND window = open();
    if (!window) {
        SecondaryWindowOpen = 0;
        return false;
    }
    ShowWindow(MainWindow, SW_HIDE);
    return true;
}

void SecondaryWindowClosed() {
    ShowWindow(MainWindow, SW_SHOW);
    SecondaryWindowOpen = 0;
}

HBITMAP MakeTransparencyMask(HBITMAP bitmap, COLORREF transparent) {
    BITMAP info;
    GetObject(bitmap, sizeof info, &info);
    HBITMAP mask = CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    HDC bitmapDc = CreateCompatibleDC(nullptr);
    HDC maskDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(bitmapDc, bitmap);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    SetBkColor(bitmapDc, transparent);
    BitBlt(maskDc, 0, 0, info.bmWidth, info.bmHeight, bitmapDc, 0, 0, SRCCOPY);
    // Mask bits 1 arrive as white, 0 as black; bitmap AND NOT mask blackens the transparent.
    SetBkColor(bitmapDc, RGB(255, 255, 255));
    SetTextColor(bitmapDc, RGB(0, 0, 0));
    BitBlt(bitmapDc, 0, 0, info.bmWidth, info.bmHeight, maskDc, 0, 0, 0x00220326);
    SelectObject(bitmapDc, oldBitmap);
    SelectObject(maskDc, oldMask);
    DeleteDC(bitmapDc);
    DeleteDC(maskDc);
    return mask;
}

void OpenHelp(const char* keyword) {
    const std::string file = std::string(Ui(UiKey::FilenameHelp));
    char full[MAX_PATH];
    if (!GetFullPathNameA(file.c_str(), sizeof full, full, nullptr)) return;
    if (!keyword || !*keyword) {
        ShellExecuteA(nullptr, "open", full, nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    std::string url = "file:///" + std::string(full) + "#" + keyword;
    for (char& c : url)
        if (c == '\\') c = '/';
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
