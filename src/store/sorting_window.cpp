// The sorting window: the pair, a busy text, the running count and a clock whose hand
// turns while the sort runs. The sort does not dispatch messages, so progress is
// drawn straight into the window.

#include "store/sorting_window.h"

#include <windowsx.h>

#include <cstdio>

#include "resource.h"
#include "shell/app.h"
#include "shell/ui_strings.h"
#include "store/catalogue.h"
#include "store/sorting.h"

namespace {

constexpr int kFrames = 12;
constexpr int kFrameSize = 30;
constexpr int kClockLeft = 10, kClockTop = 5;

const char kClassName[] = "sorting";

struct SortingState {
    HWND window;
    HBITMAP frames[kFrames];
    HBITMAP masks[kFrames];
    HBITMAP background;
    int frame;
};

SortingState s;

void PrepareAnimation() {
    if (!s.window) return;
    for (int i = 0; i < kFrames; ++i) {
        s.frames[i] = static_cast<HBITMAP>(
            LoadImageA(AppInstance, MAKEINTRESOURCEA(IDB_CLOCK_FIRST + i), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        s.masks[i] = s.frames[i] ? MakeTransparencyMask(s.frames[i], RGB(255, 255, 255)) : nullptr;
    }
    HDC windowDc = GetDC(s.window);
    HDC memory = CreateCompatibleDC(windowDc);
    s.background = CreateCompatibleBitmap(windowDc, kFrameSize, kFrameSize);
    HGDIOBJ old = SelectObject(memory, s.background);
    BitBlt(memory, 0, 0, kFrameSize, kFrameSize, windowDc, kClockLeft, kClockTop, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(s.window, windowDc);
    s.frame = 0;
}

void ReleaseAnimation() {
    for (int i = 0; i < kFrames; ++i) {
        if (s.frames[i]) DeleteObject(s.frames[i]);
        if (s.masks[i]) DeleteObject(s.masks[i]);
        s.frames[i] = s.masks[i] = nullptr;
    }
    if (s.background) DeleteObject(s.background);
    s.background = nullptr;
}

void AdvanceAnimation() {
    if (!s.frames[s.frame] || !s.background) return;
    HDC windowDc = GetDC(s.window);
    HDC composed = CreateCompatibleDC(windowDc);
    HDC source = CreateCompatibleDC(windowDc);
    HBITMAP canvas = CreateCompatibleBitmap(windowDc, kFrameSize, kFrameSize);
    HGDIOBJ oldComposed = SelectObject(composed, canvas);
    HGDIOBJ oldSource = SelectObject(source, s.background);
    BitBlt(composed, 0, 0, kFrameSize, kFrameSize, source, 0, 0, SRCCOPY);
    SelectObject(source, s.masks[s.frame]);
    BitBlt(composed, 0, 0, kFrameSize, kFrameSize, source, 0, 0, SRCAND);
    SelectObject(source, s.frames[s.frame]);
    BitBlt(composed, 0, 0, kFrameSize, kFrameSize, source, 0, 0, SRCPAINT);
    BitBlt(windowDc, kClockLeft, kClockTop, kFrameSize, kFrameSize, composed, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(composed, oldComposed);
    DeleteObject(canvas);
    DeleteDC(source);
    DeleteDC(composed);
    ReleaseDC(s.window, windowDc);
    s.frame = (s.frame + 1) % kFrames;
}

class WindowProgress : public SortProgress {
public:
    void Show(SortPhase phase, std::int64_t count) override {
        if (!s.window) return;  // never draw on the desktop
        const UiKey label = phase == SortPhase::Reading   ? UiKey::Reading
                            : phase == SortPhase::Sorting ? UiKey::Sorting
                                                          : UiKey::Writing;
        char text[160];
        std::snprintf(text, sizeof text, "%s %lld", Ui(label), static_cast<long long>(count));
        HDC dc = GetDC(s.window);
        RECT band = {110, 65, 270, 95};
        FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        HGDIOBJ oldFont = SelectObject(dc, Fonts.GuiFont);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(50, 50, 50));
        const std::wstring wide = WideFromCharset(text, UiCharset);
        DrawTextW(dc, wide.c_str(), -1, &band, DT_SINGLELINE | DT_LEFT);
        SelectObject(dc, oldFont);
        ReleaseDC(s.window, dc);
        AdvanceAnimation();
    }
};

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HGDIOBJ oldFont = SelectObject(dc, Fonts.GuiFont);
    char pair[256];
    std::snprintf(pair, sizeof pair, "%s - %s", CurrentPair->name1, CurrentPair->name2);
    DrawShadowedText(dc, pair, {1, 6, 351, 31}, DT_SINGLELINE | DT_CENTER, CurrentPair->charset1);
    RECT busy = {0, 25, 350, 120};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    const std::wstring text = WideFromCharset(Ui(UiKey::SortBusy), UiCharset);
    DrawTextW(dc, text.c_str(), -1, &busy, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK SortingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void ShowSortingWindow() {
    RegisterWindowClass(kClassName, SortingWindowProc);
    s.window = CreateCentredWindow(kClassName, Ui(UiKey::SortCaption), WS_CAPTION | WS_SYSMENU, 350, 120);
    ShowWindow(s.window, SW_SHOW);
    UpdateWindow(s.window);
    PrepareAnimation();
}

void CloseSortingWindow() {
    ReleaseAnimation();
    if (s.window) DestroyWindow(s.window);
    s.window = nullptr;
}

SortProgress& SortingWindowProgress() {
    static WindowProgress progress;
    return progress;
}

int RunSort() {
    ShowSortingWindow();
    int result = SortStore(&SortingWindowProgress());
    if (result != 0)
        MessageBoxW(s.window, WideFromCharset(Ui(UiKey::SortFailed), UiCharset).c_str(),
                    WideFromCharset(Ui(UiKey::Error), UiCharset).c_str(), MB_OK | MB_ICONWARNING);
    CloseSortingWindow();
    return result;
}
