// What every top-level window of the program has in common: its class, its first place,
// stay-on-top, and its place kept in the settings.
#pragma once

#include <windows.h>

struct WindowPosition;

// Registers a window class of the program once: its icon, the arrow cursor and the
// light-grey background every window has.
void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style = 0);

// Creates a top-level window of a registered class centred on the screen, topmost
// when StayOnTop is 1 and explicitly not topmost otherwise. The title is interface text.
HWND CreateCentredWindow(const char* className, const char* title, DWORD style, int width, int height);

// Registers the class, then creates, shows and paints a centred window: how every
// secondary window opens.
HWND OpenCentredWindow(const char* className, WNDPROC procedure, UINT classStyle, const char* title, DWORD style,
                       int width, int height);

// Activated again (Alt+Tab, a message box gone), a window would keep the keyboard focus on
// itself: this gives it back to `target`, the control the user was typing into. For WM_ACTIVATE.
void FocusOnActivation(UINT state, BOOL minimized, HWND target);

// Keeps a window above all others or explicitly not, without moving or activating it.
void SetTopmost(HWND hwnd, bool topmost);

// Where a window's normal rectangle is, and moving a window to a stored place (when
// one is known) without changing its size.
WindowPosition NormalPosition(HWND hwnd);
void MoveToStoredPosition(HWND hwnd, const WindowPosition& stored);
