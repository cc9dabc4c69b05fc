#include "ui/menus.h"

#include "ui/app_state.h"

#include "ui/ui_text.h"

HMENU Popup(std::initializer_list<MenuItem> items) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : items)
        AppendMenuW(popup, MF_STRING | (item.checked ? MF_CHECKED : 0), static_cast<UINT_PTR>(item.id),
                    UiWide(item.label).c_str());
    return popup;
}

void AppendPopup(HMENU bar, HMENU popup, UiKey label) {
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), UiWide(label).c_str());
}

HMENU MenuBarOf(UiKey label, std::initializer_list<MenuItem> items) {
    HMENU bar = CreateMenu();
    AppendPopup(bar, Popup(items), label);
    return bar;
}

void PopUpLanguageMenu(HWND owner, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(owner, &p);
    TrackPopupMenu(GetSubMenu(GetMenu(MainWindow), 1), TPM_LEFTALIGN, p.x, p.y, 0, owner, nullptr);
}
