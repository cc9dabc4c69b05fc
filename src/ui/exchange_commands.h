// File > Import and File > Export of the main window: other programs' word lists into the
// current pair (and its reverse), and the current pair's words out to their files.
#pragma once

#include <windows.h>

// Asks for a file, shows what importing it would change and, when the user agrees, stores
// the words. Does nothing while a secondary window holds the store.
void ImportWords(HWND owner);
// Asks for a file and a format and writes the current pair's words there. Does nothing
// while a secondary window holds the store.
void ExportWords(HWND owner);
