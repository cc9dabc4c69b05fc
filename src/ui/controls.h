// The child controls every window makes alike.
#pragma once

#include <windows.h>

#include <string>

#include "core/strings/ui_keys.h"

// A visible child control of any class, in a font: the one way the windows make theirs.
HWND CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle, int id,
                   int x, int y, int width, int height, HFONT font);

// A push button labelled with an interface text, in GuiFont.
HWND CreateButton(HWND parent, int id, UiKey label, int x, int y, int width, int height, DWORD style = 0);
// An edit field with a client edge in a font with zero margins, as record rows and search
// fields are; `style` adds to a visible tab stop.
HWND CreateEdit(HWND parent, int id, int x, int y, int width, int height, HFONT font, DWORD style = 0);
// A field of a record row, 25 high, taking at most `limit` characters (0: the edit's own
// limit).
HWND CreateRowField(HWND parent, int id, int x, int y, int width, int limit, HFONT font);
// The vertical scroll bar, 20 wide, beside a page of rows. Drawn plainly, as a program
// without a visual-styles manifest shows it on Windows: Wine would theme it, and a themed bar
// costs dozens of blits (and display queries) each time its thumb moves.
HWND CreatePageScrollBar(HWND parent, int id, int x, int y, int height);
// A text that shows "&" as it is.
HWND CreateLabel(HWND parent, int id, const std::wstring& text, int x, int y, int width, int height, HFONT font);
// A control's messages go through `proc` first, which hands what it leaves to the control's
// own procedure with PassOn; `data` comes with each message. Not a comctl32 subclass: that
// looks its data up in a window property, a server round trip under Wine for every message
// a control gets, and a page of rows gets hundreds a keystroke. Once per control: the
// control's user data holds what this needs, until the control is destroyed.
using ControlProc = LRESULT (*)(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR data);
void TakeOver(HWND control, ControlProc proc, LONG_PTR data = 0);
LRESULT PassOn(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
// Texts and check boxes stand on the windows' light grey: a WM_CTLCOLORSTATIC handler.
HBRUSH OnCtlColorGrey(HWND window, HDC dc, HWND control, int type);
