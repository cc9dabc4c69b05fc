// Menus made from tables of interface texts and command ids.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "core/strings/ui_keys.h"

struct MenuItem {
    UiKey label;
    int id;
    bool checked = false;
};

// A drop-down menu of the items, in their order.
HMENU Popup(std::initializer_list<MenuItem> items);
// The drop-down menu on a menu bar under the label.
void AppendPopup(HMENU bar, HMENU popup, UiKey label);
// A menu bar of one drop-down menu.
HMENU MenuBarOf(UiKey label, std::initializer_list<MenuItem> items);
// The main window's language menu, popped up at a point of another window's client area:
// its commands go to that window.
void PopUpLanguageMenu(HWND owner, int x, int y);
