#include "ui/list_printing.h"

void PrintCurrentList(HWND) {}
