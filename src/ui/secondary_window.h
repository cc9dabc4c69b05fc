// The one-window contract: a secondary window opens only while none is open; the main
// window hides while it is open and comes back when it closes.
#pragma once

#include <windows.h>

extern int SecondaryWindowOpen;

// Opens a window with `open` unless one is open already; false when refused or failed.
bool OpenSecondaryWindow(HWND (*open)());
// Called by a secondary window as it is destroyed.
void SecondaryWindowClosed();
// Asks every other window of the program to close as the user would, so the closing work
// (sorts above all) runs before the program ends.
void CloseSecondaryWindows();
// The same for a window that keeps its state in one struct: the state goes back to new
// first, so nothing of this window reaches the next one.
template <class State>
void SecondaryWindowClosed(State& state) {
    state = State{};
    SecondaryWindowClosed();
}
