#include "ui/menus.h"

#include <utility>

#include "ui/app_state.h"
#include "ui/ui_text.h"

MenuText::MenuText(UiKey key) : text(UiWide(key)) {}
MenuText::MenuText(std::wstring own) : text(std::move(own)) {}

const MenuItem kMenuSeparator = {.label = std::wstring(), .separator = true};

void InsertItem(HMENU menu, int position, const MenuItem& item) {
    const UINT at = static_cast<UINT>(position < 0 ? GetMenuItemCount(menu) : position);
    const UINT flags = MF_BYPOSITION | (item.separator ? MF_SEPARATOR : MF_STRING) | (item.submenu ? MF_POPUP : 0) |
                       (item.checked ? MF_CHECKED : 0);
    const UINT_PTR command = item.submenu ? reinterpret_cast<UINT_PTR>(item.submenu) : static_cast<UINT_PTR>(item.id);
    InsertMenuW(menu, at, flags, command, item.separator ? nullptr : item.label.text.c_str());
    // The flags have no radio mark: the checked choice of a group takes it as a group of its own.
    if (item.radio && item.checked) CheckMenuRadioItem(menu, at, at, at, MF_BYPOSITION);
}

HMENU Popup(const std::vector<MenuItem>& items) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : items) InsertItem(popup, -1, item);
    return popup;
}

void AppendPopup(HMENU menu, HMENU popup, MenuText label) {
    InsertItem(menu, -1, {.label = std::move(label), .submenu = popup});
}

HMENU MenuBarOf(UiKey label, const std::vector<MenuItem>& items) {
    HMENU bar = CreateMenu();
    AppendPopup(bar, Popup(items), label);
    return bar;
}

void PopUpLanguageMenu(HWND owner, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(owner, &p);
    TrackPopupMenu(GetSubMenu(GetMenu(MainWindow), 1), TPM_LEFTALIGN, p.x, p.y, 0, owner, nullptr);
}
