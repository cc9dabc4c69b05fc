// Process-wide state of the running program that belongs to its windows.
#pragma once

#include <windows.h>

extern HINSTANCE AppInstance;
extern HWND MainWindow;
extern int RecorderMode;
// The character set of the interface's texts (the strings file's CharactersetCode).
extern int UiCharset;
