// The restore window ("herstel"): the backups, newest first, and the files the chosen one
// would put back; OK restores them.
#pragma once

#include <windows.h>

HWND OpenRestoreWindow();
