// The practice-list windows of the list storage: the new-list dialog and the
// "updating" window shown while a list is compacted.
#pragma once

#include <windows.h>

// Asks for a new list name; a valid one becomes the current list.
void RunNewListDialog(HWND owner);

void ShowUpdatingWindow();
void CloseUpdatingWindow();
// Compacts the current list under the "updating" window.
int CompactCurrentListShown();
