// The small status window shown around long work that runs to its end without
// dispatching messages (sorting, compacting): created and painted once before the work,
// drawn into directly while it runs, destroyed after it.
#pragma once

#include <windows.h>

#include "core/strings/ui_keys.h"

// Paints the window's fixed content; the device context has GuiFont selected and a
// transparent background.
using ProgressPaint = void (*)(HDC dc);

// A 350 x 120 window of its own class, centred, with caption and system menu only.
HWND OpenProgressWindow(const char* className, UiKey caption, ProgressPaint paint);
void CloseProgressWindow(HWND& window);
