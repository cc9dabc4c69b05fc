// The practice-list window: the current list on the left, marked by clicking its rows;
// the whole word file on the right, whose rows are appended to the list when clicked.

#include "ui/list_window.h"

#include <windowsx.h>

#include <string>
#include <vector>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/lookup/pager.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "core/text/fixed_text.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/list_printing.h"
#include "ui/menus.h"
#include "ui/new_list_dialog.h"
#include "ui/random_window.h"
#include "ui/record_pager.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"
#include "ui/updating_window.h"

namespace {

constexpr int kRows = 8;
const char kClassName[] = "lijst";

void ShowListRows(std::int32_t top);
void ShowWordRows(std::int32_t top);

struct ListWindowState {
    HWND window, search;
    HWND listRows[kRows], words[kRows], translations[kRows];
    RecordPager listPager{[] { return ListCount; }, ShowListRows};
    RecordPager wordPager{[] { return WordCount; }, ShowWordRows};
    LanguageFonts fonts;
    std::vector<std::string> lists;  // the lists menu, in its order
    bool closing;
};

ListWindowState s;

// Rows at or past the end of the list are emptied; marked records show as such.
void ShowListRows(std::int32_t top) {
    int r = 0;
    for (; r < kRows && top + r < ListCount; ++r) {
        if (ReadListEntry(top + r) != 0) return;
        if (IsDeleted(CurrentRecord))
            ShowInCell(s.listRows[r], Ui(UiKey::CreateListDeleted), UiCharset);
        else
            ShowInCell(s.listRows[r], CurrentRecord.word, CurrentPair->charset1);
    }
    for (; r < kRows; ++r) ShowInCell(s.listRows[r], "", UiCharset);
}

void ShowWordRows(std::int32_t top) { ShowRecordRows(top, s.words, s.translations, kRows); }

void SetCaption() {
    const std::wstring caption = UiWide(UiKey::CreateListCaption) + L": " + FileNameWide(Settings.PracticeList) +
                                 L" (" + NameWide(CurrentPair->name1) + L"-" + NameWide(CurrentPair->name2) + L")";
    SetWindowTextW(s.window, caption.c_str());
}

// The lists menu follows the lists on disk, so its ids and places stay one enumeration
// whatever was created or deleted meanwhile; the current list is checked.
void BuildListsMenu() {
    HMENU bar = GetMenu(s.window);
    if (!s.lists.empty()) DeleteMenu(bar, 1, MF_BYPOSITION);
    s.lists = EnumerateLists();
    if (!s.lists.empty()) {
        if (Settings.PracticeList.empty()) SelectFirstList();
        Settings.ListID = ListIdOf(Settings.PracticeList);
        std::vector<MenuItem> items;
        for (std::size_t k = 0; k < s.lists.size(); ++k) {
            const int id = IDM_LIST_FIRST + static_cast<int>(k);
            items.push_back({FileNameWide(s.lists[k]), id, id == Settings.ListID});
        }
        AppendPopup(bar, Popup(items), UiKey::CreateListLists);
    }
    EnableMenuItem(bar, IDM_LIST_DELETE, MF_BYCOMMAND | (s.lists.empty() ? MF_GRAYED : MF_ENABLED));
    DrawMenuBar(s.window);
}

void ShowListEndAndFocus() {
    s.listPager.ShowEnd();
    SetFocus(s.search);
}

// After the current list changed: its file, its end, the caption.
void ListChanged() {
    ReopenListFile();
    ShowListEndAndFocus();
    SetCaption();
}

void Append(int row) {
    const std::int32_t index = s.wordPager.top() + row;
    if (index >= WordCount || ReadWord(index) != 0) return;
    if (WriteListEntry(ListCount) == 0) ++ListCount;
    s.listPager.ShowEnd();
}

void ToggleMark(int row) {
    const std::int32_t index = s.listPager.top() + row;
    if (index >= ListCount || ReadListEntry(index) != 0) return;
    CurrentRecord.deleted = IsDeleted(CurrentRecord) ? 0 : 1;
    if (IsDeleted(CurrentRecord))
        SetFieldText(s.listRows[row], Ui(UiKey::CreateListDeleted), UiCharset);
    else
        SetFieldText(s.listRows[row], CurrentRecord.word, CurrentPair->charset1);
    WriteListEntry(index);
    ModifiedFlag = 1;
}

void ChooseList(int id) {
    const std::size_t k = static_cast<std::size_t>(id - IDM_LIST_FIRST);
    if (k >= s.lists.size()) return;
    HMENU bar = GetMenu(s.window);
    CheckMenuItem(bar, static_cast<UINT>(Settings.ListID), MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(bar, static_cast<UINT>(id), MF_BYCOMMAND | MF_CHECKED);
    Settings.ListID = id;
    Settings.PracticeList = s.lists[k];
    ListChanged();
}

void NewList() {
    const std::string before = Settings.PracticeList;
    RunNewListDialog(s.window);
    if (EqualsIgnoringAsciiCase(before, Settings.PracticeList)) return;
    BuildListsMenu();
    ListChanged();
}

// The list name reads as the file system holds it, the words around it as the interface's.
void DeleteList() {
    if (s.lists.empty()) return;
    if (CountLists() == 1) {
        UiMessageBox(s.window, Ui(UiKey::CreateListKeeplist), Ui(UiKey::CreateListDelList), MB_OK);
        return;
    }
    const std::wstring name = FileNameWide(Settings.PracticeList);
    const std::wstring question = UiWide(UiKey::CreateListSureDel) + L" " + name + UiWide(UiKey::CreateListSureDel2);
    const std::wstring caption = UiWide(UiKey::CreateListDelList);
    if (UiMessageBox(s.window, question, caption, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    if (DeleteCurrentList() != 0) UiMessageBox(s.window, UiWide(UiKey::CreateListNoDel) + L" " + name, caption, MB_OK);
    BuildListsMenu();
    ListChanged();
}

// The random window draws straight into the list file; the pane then shows its end.
void RandomDrawn() { s.listPager.ShowEnd(); }

// Rows act when they get the focus (a click), and give it back to the search field; the
// right button offers nothing.
LRESULT RowProc(HWND row, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            return 0;
    }
    return PassOn(row, msg, wParam, lParam);
}

HWND Row(HWND parent, int id, int x, int y, int width, HFONT font) {
    HWND row = CreateRowField(parent, id, x, y, width, 0, font);
    TakeOver(row, RowProc);
    return row;
}

HWND ScrollBar(HWND parent, int id, int x, int y) { return CreatePageScrollBar(parent, id, x, y, 184); }

HMENU MenuBar() {
    return MenuBarOf(UiKey::CreatePLMenuFile0,
                     {{UiKey::CreatePLMenuFile1, IDM_LIST_NEW}, {UiKey::CreatePLMenuFile2, IDM_LIST_DELETE}});
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    s.closing = false;
    s.lists.clear();
    SetMenu(hwnd, MenuBar());
    BuildListsMenu();
    ReopenListFile();
    SetCaption();
    s.fonts.Create(*CurrentPair, 11, FW_NORMAL);
    for (int r = 0; r < kRows; ++r) {
        const int y = 40 + 23 * r;
        s.listRows[r] = Row(hwnd, IDC_LIST_ROW_FIRST + r, 35, y, 160, s.fonts.first.get());
        s.words[r] = Row(hwnd, IDC_LIST_WORD_FIRST + r, 225, y, 160, s.fonts.first.get());
        s.translations[r] = Row(hwnd, IDC_LIST_WORD_FIRST + r, 405, y, 180, s.fonts.second.get());
    }
    s.listPager.Attach(ScrollBar(hwnd, IDC_LIST_LIST_SCROLL, 15, 41), kRows, 1);
    s.wordPager.Attach(ScrollBar(hwnd, IDC_LIST_WORD_SCROLL, 385, 40), kRows, kRows);
    s.search = CreateEdit(hwnd, IDC_LIST_SEARCH, 225, 250, 160, 25, s.fonts.first.get(), ES_AUTOHSCROLL);
    AttachSearchField(s.search, s.wordPager);
    CreateButton(hwnd, IDC_LIST_ADD_ALL, UiKey::CreateListAddAll, 15, 305, 120, 30);
    CreateButton(hwnd, IDC_LIST_REMOVE_ALL, UiKey::CreateListRemoveAll, 140, 305, 140, 30);
    CreateButton(hwnd, IDC_LIST_ADD_RANDOM, UiKey::CreateListAddRandom, 285, 305, 125, 30);
    CreateButton(hwnd, IDC_LIST_PRINT, UiKey::CreateListPrint, 415, 305, 80, 30);
    CreateButton(hwnd, IDC_LIST_DONE, UiKey::Done, 500, 305, 84, 30);
    s.wordPager.Reset();
    s.listPager.ShowEnd();
    ModifiedFlag = 0;
    MoveToStoredPosition(hwnd, Settings.makelistWindow);
    SetFocus(s.search);
    return TRUE;
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawTopEdge(hwnd, dc);
    // A shadowed divider between the panes and above the buttons.
    const Pen grey(CreatePen(PS_SOLID, 5, RGB(224, 224, 224))), green(CreatePen(PS_SOLID, 5, RGB(0, 128, 0)));
    {
        SelectGuard pen(dc, grey.get());
        MoveToEx(dc, 209, 4, nullptr);
        LineTo(dc, 209, 284);
        MoveToEx(dc, 1, 284, nullptr);
        LineTo(dc, 604, 284);
        pen.Select(green.get());
        MoveToEx(dc, 210, 5, nullptr);
        LineTo(dc, 210, 285);
        MoveToEx(dc, 2, 285, nullptr);
        LineTo(dc, 605, 285);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SelectGuard font(dc, Fonts.ListSmallFont);
    const std::pair<UiKey, RECT> hints[] = {{UiKey::CreateListClickAdd, {225, 230, 600, 250}},
                                            {UiKey::CreateListClickRemove, {15, 230, 203, 280}},
                                            {UiKey::CreateListAddwords, {225, 13, 600, 30}}};
    for (auto [key, rect] : hints) DrawTextW(dc, UiWide(key).c_str(), -1, &rect, DT_WORDBREAK);
    font.Select(Fonts.ListWindowFont);
    DrawShadowedText(dc, UiWide(UiKey::CreateListPracticelist), {0, 10, 208, 30}, DT_SINGLELINE | DT_CENTER);
    EndPaint(hwnd, &ps);
}

void OnClose(HWND hwnd) {
    if (s.closing) return;
    s.closing = true;
    CloseRandomWindow();
    // The updating window clears nothing itself: a failed compaction is not asked again,
    // but the user learns that the marked words are still in the list.
    if (ModifiedFlag && CompactCurrentListShown() != 0)
        UiMessageBox(hwnd,
                     UiTextOr("CreateListNotCompacted",
                              "The marked words could not be removed from the practice list; they stay in it, "
                              "marked.   "),
                     Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
    ModifiedFlag = 0;
    DestroyWindow(hwnd);
}

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (control == s.search) {
        if (code == EN_CHANGE)
            s.wordPager.Settle(
                FindWord(FieldText(s.search, CurrentPair->charset1, kSearchFieldChars).c_str(), WordCount));
        return;
    }
    if (control && code == EN_SETFOCUS) {
        if (id >= IDC_LIST_ROW_FIRST && id < IDC_LIST_ROW_FIRST + kRows) ToggleMark(id - IDC_LIST_ROW_FIRST);
        if (id >= IDC_LIST_WORD_FIRST && id < IDC_LIST_WORD_FIRST + kRows) Append(id - IDC_LIST_WORD_FIRST);
        SetFocus(s.search);
        return;
    }
    if (control && code != BN_CLICKED) return;
    switch (id) {
        case IDC_LIST_DONE:
            return OnClose(hwnd);
        case IDC_LIST_ADD_ALL:
            if (BackUpCurrentList(MessageOwner::ActiveWindow)) FillListFromWordFile();
            return ShowListEndAndFocus();
        case IDC_LIST_REMOVE_ALL:
            if (BackUpCurrentList(MessageOwner::ActiveWindow)) ClearCurrentList();
            return ShowListEndAndFocus();
        case IDC_LIST_ADD_RANDOM:
            if (HWND random = RandomWindow())
                SetForegroundWindow(random);
            else
                OpenRandomWindow(s.search, RandomDrawn);
            return;
        case IDC_LIST_PRINT:
            if (ListCount > 0) PrintCurrentList(hwnd);
            return;
        case IDM_LIST_NEW:
            return NewList();
        case IDM_LIST_DELETE:
            return DeleteList();
    }
    if (id >= IDM_LIST_FIRST) ChooseList(id);
}

void OnVScroll(HWND, HWND control, UINT code, int position) {
    if (GetDlgCtrlID(control) == IDC_LIST_LIST_SCROLL)
        s.listPager.Scroll(code, position);
    else
        s.wordPager.Scroll(code, position);
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.search); }

void OnDestroy(HWND hwnd) {
    Settings.makelistWindow = NormalPosition(hwnd);
    s.fonts.Reset();
    s.window = nullptr;
    SecondaryWindowClosed();
}

LRESULT CALLBACK ListWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_VSCROLL, OnVScroll);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenListWindow() {
    const int height = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 355;
    return OpenCentredWindow(kClassName, ListWindowProc, CS_HREDRAW | CS_VREDRAW, Ui(UiKey::CreateListCaption),
                             WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 605, height);
}
