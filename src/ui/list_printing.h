// Printing the current practice list as a two-column table.
#pragma once

#include <windows.h>

// Prints the current list on the printer the user picks in the print dialog; nothing
// happens for an empty list.
void PrintCurrentList(HWND listWindow);
