// Menus made from tables of items, in every window: texts, command ids, marks, sub-menus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/strings/ui_keys.h"

// What an item reads: an interface text by its key, or a text of its own (a language or
// list name, a number).
struct MenuText {
    MenuText(UiKey key);
    MenuText(std::wstring own);
    std::wstring text;
};

struct MenuItem {
    MenuText label;
    int id = 0;
    bool checked = false;
    bool radio = false;       // one choice of a group: when checked it shows a dot, not a tick
    HMENU submenu = nullptr;  // opened by the item, which then gives no command
    bool separator = false;
};

// A line between items.
extern const MenuItem kMenuSeparator;

// Puts the item at a place of the menu; -1 puts it after the last.
void InsertItem(HMENU menu, int position, const MenuItem& item);
// A drop-down menu of the items, in their order.
HMENU Popup(const std::vector<MenuItem>& items);
// The drop-down menu after the last item of a menu bar, or of another menu, under the label.
void AppendPopup(HMENU menu, HMENU popup, MenuText label);
// A menu bar of one drop-down menu.
HMENU MenuBarOf(UiKey label, const std::vector<MenuItem>& items);
// The main window's language menu, popped up at a point of another window's client area:
// its commands go to that window.
void PopUpLanguageMenu(HWND owner, int x, int y);
