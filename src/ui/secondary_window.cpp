#include "ui/secondary_window.h"

#include "ui/app_state.h"

int SecondaryWindowOpen;

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

namespace {

// A named callback: 32-bit Windows calls it stdcall, which no lambda converts to.
BOOL CALLBACK CloseOne(HWND window, LPARAM) {
    if (window != MainWindow && IsWindowVisible(window)) SendMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void CloseSecondaryWindows() { EnumThreadWindows(GetCurrentThreadId(), CloseOne, 0); }

void SecondaryWindowClosed() {
    ShowWindow(MainWindow, SW_SHOW);
    SecondaryWindowOpen = 0;
}
