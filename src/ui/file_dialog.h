// The open and save dialogs of the program.
#pragma once

#include <windows.h>

#include <commdlg.h>

// Shows the dialog; true when a file was chosen. The dialogs may move the working directory
// whatever their flags say, and every path of the program is relative to it, so it is put back.
bool RunFileDialog(OPENFILENAMEA& dialog, bool save);
bool RunFileDialog(OPENFILENAMEW& dialog, bool save);
