// The small status window shown around long work that runs to its end without
// dispatching messages (sorting, compacting): created and painted once before the work,
// drawn into directly while it runs, destroyed after it.
#pragma once

#include <windows.h>

#include "core/strings/ui_keys.h"

// Paints the window's fixed content; the device context has GuiFont selected and a
// transparent background.
using ProgressPaint = void (*)(HDC dc);

// A window of its own class (350 x 120 unless said otherwise), centred, with caption and
// system menu only.
HWND OpenProgressWindow(const char* className, UiKey caption, ProgressPaint paint, SIZE size = {350, 120});
// The same with a caption that strings files may lack (UiTextOr's).
HWND OpenProgressWindow(const char* className, const char* caption, ProgressPaint paint, SIZE size = {350, 120});
void CloseProgressWindow(HWND& window);

// Runs `work` with a progress window up: `show` makes it, `close` ends it however the work
// ends (an exception included), so no window is left behind.
template <typename Show, typename Close, typename Work>
auto WhileShowing(Show show, Close close, Work&& work) {
    show();
    struct Closer {
        Close close;
        ~Closer() { close(); }
    } closer{close};
    return work();
}

// For work that may be stopped, asked between its steps: whether the user pressed Escape or
// clicked the close box of `window`. Meanwhile the windows are painted, and other keys and
// clicks, which would start other work in the middle of this one, are dropped.
bool ProgressCancelled(HWND window);

// Draws a progress text on one line straight into the window, over the band it fills
// light grey first: dark grey in GuiFont. The text is in the interface's character set.
void DrawProgressText(HWND window, RECT band, const char* text);
