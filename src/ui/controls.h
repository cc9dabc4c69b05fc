// The child controls every window makes alike.
#pragma once

#include <windows.h>

#include "core/strings/ui_keys.h"

// A push button labelled with an interface text, in GuiFont.
HWND CreateButton(HWND parent, int id, UiKey label, int x, int y, int width, int height, DWORD style = 0);
// An edit field with a client edge in a font with zero margins, as record rows and search
// fields are; `style` adds to a visible tab stop.
HWND CreateEdit(HWND parent, int id, int x, int y, int width, int height, HFONT font, DWORD style = 0);
// A new font for a field: its margins go back to zero, which a font change resets.
void SetEditFont(HWND edit, HFONT font);
// Texts and check boxes stand on the windows' light grey: a WM_CTLCOLORSTATIC handler.
HBRUSH OnCtlColorGrey(HWND window, HDC dc, HWND control, int type);
