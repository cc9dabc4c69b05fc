// The new-list dialog (LISTDIALOG).
#pragma once

#include <windows.h>

// Asks for a new list name; a valid one becomes the current list.
void RunNewListDialog(HWND owner);
