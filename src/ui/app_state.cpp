#include "ui/app_state.h"

HINSTANCE AppInstance;
HWND MainWindow;
int RecorderMode;
int UiCharset;
