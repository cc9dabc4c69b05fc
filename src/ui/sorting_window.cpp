// The sorting window: the pair, a busy text, the running count and a clock whose hand
// turns while the sort runs. The sort does not dispatch messages, so progress is
// drawn straight into the window.

#include "ui/sorting_window.h"

#include <cstdio>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/progress_window.h"
#include "ui/ui_text.h"

namespace {

constexpr int kFrames = 12;
constexpr int kFrameSize = 30;
constexpr int kClockLeft = 10, kClockTop = 5;

struct SortingState {
    HWND window;
    Bitmap frames[kFrames];
    Bitmap masks[kFrames];
    Bitmap background;  // what lies under the clock, so each frame is drawn over it
    int frame;
    std::wstring busy;  // the text under the pair: the sort's own, or that of other work shown here
};

SortingState s;

void PrepareAnimation() {
    if (!s.window) return;
    for (int i = 0; i < kFrames; ++i) {
        s.frames[i].reset(static_cast<HBITMAP>(
            LoadImageA(AppInstance, MAKEINTRESOURCEA(IDB_CLOCK_FIRST + i), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (s.frames[i]) s.masks[i].reset(MakeTransparencyMask(s.frames[i].get(), RGB(255, 255, 255)));
    }
    WindowDc windowDc(s.window);
    MemoryDc memory(CreateCompatibleDC(windowDc));
    s.background.reset(CreateCompatibleBitmap(windowDc, kFrameSize, kFrameSize));
    SelectGuard selected(memory.get(), s.background.get());
    BitBlt(memory.get(), 0, 0, kFrameSize, kFrameSize, windowDc, kClockLeft, kClockTop, SRCCOPY);
    s.frame = 0;
}

void AdvanceAnimation() {
    if (!s.frames[s.frame] || !s.masks[s.frame] || !s.background) return;
    WindowDc windowDc(s.window);
    MemoryDc composed(CreateCompatibleDC(windowDc));
    MemoryDc source(CreateCompatibleDC(windowDc));
    Bitmap canvas(CreateCompatibleBitmap(windowDc, kFrameSize, kFrameSize));
    SelectGuard onCanvas(composed.get(), canvas.get());
    SelectGuard fromSource(source.get(), s.background.get());
    BitBlt(composed.get(), 0, 0, kFrameSize, kFrameSize, source.get(), 0, 0, SRCCOPY);
    fromSource.Select(s.masks[s.frame].get());
    BitBlt(composed.get(), 0, 0, kFrameSize, kFrameSize, source.get(), 0, 0, SRCAND);
    fromSource.Select(s.frames[s.frame].get());
    BitBlt(composed.get(), 0, 0, kFrameSize, kFrameSize, source.get(), 0, 0, SRCPAINT);
    BitBlt(windowDc, kClockLeft, kClockTop, kFrameSize, kFrameSize, composed.get(), 0, 0, SRCCOPY);
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
        DrawProgressText(s.window, {110, 65, 270, 95}, text);
        AdvanceAnimation();
    }
};

void Paint(HDC dc) {
    const std::wstring pair = PairNameWide(*CurrentPair);
    DrawShadowedText(dc, pair, {1, 6, 351, 31}, DT_SINGLELINE | DT_CENTER);
    RECT busy = {0, 25, 350, 120};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, s.busy.c_str(), -1, &busy, DT_CENTER | DT_WORDBREAK);
}

}  // namespace

void ShowSortingWindow(std::wstring busy) {
    s.busy = busy.empty() ? UiWide(UiKey::SortBusy) : std::move(busy);
    s.window = OpenProgressWindow("sorting", UiKey::SortCaption, Paint);
    PrepareAnimation();
}

void CloseSortingWindow() {
    for (int i = 0; i < kFrames; ++i) {
        s.frames[i].reset();
        s.masks[i].reset();
    }
    s.background.reset();
    CloseProgressWindow(s.window);
}

SortProgress& SortingWindowProgress() {
    static WindowProgress progress;
    return progress;
}

bool SortingWindowCancelled() { return s.window && ProgressCancelled(s.window); }

int RunSort(std::int32_t sortedCount) {
    return WhileShowing([] { ShowSortingWindow(); }, CloseSortingWindow,
                        [&] {
                            const int result = SortStore(&SortingWindowProgress(), sortedCount);
                            if (result != 0)
                                UiMessageBox(s.window, Ui(UiKey::SortFailed), Ui(UiKey::Error), MB_OK | MB_ICONWARNING);
                            return result;
                        });
}
