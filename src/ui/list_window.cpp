#include "ui/list_window.h"

HWND OpenListWindow() { return nullptr; }
