// The program's main window made in-process, for tests that work windows by messages.
#pragma once

#include <windows.h>

#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/secondary_window.h"

// Fonts, class, window and menus, as start-up makes them; the store must be open.
inline HWND CreateTestMainWindow() {
    AppInstance = GetModuleHandleA(nullptr);
    CreateSharedFonts();
    RegisterMainWindowClass();
    MainWindow = CreateMainWindow();
    if (MainWindow) AttachMainMenus(MainWindow);
    return MainWindow;
}

// Destroying the main window runs the shutdown steps; its quit message is dropped.
inline void DestroyTestMainWindow() {
    DestroyWindow(MainWindow);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
