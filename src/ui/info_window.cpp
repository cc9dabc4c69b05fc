// The information window ("info"): a report list view filling the window, filled once.

#include "ui/info_window.h"

#include <commctrl.h>
#include <windows.h>
#include <windowsx.h>

#include <cstdio>
#include <optional>

#include "core/catalogue/catalogue.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "core/text/character_sets.h"
#include "ui/app_state.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "info";

struct InfoState {
    HWND list;
    HIMAGELIST images;
};

InfoState s;

const char* CharsetName(int code) {
    const char* name = CharacterSetNameOf(code);
    return name ? name : Ui(UiKey::WordlistInfoUnknown);
}

// Sets a cell and widens its column to the text plus 40 pixels when that is wider.
void SetCell(int row, int column, const std::wstring& text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(s.list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const int wanted =
        static_cast<int>(SendMessageW(s.list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()))) + 40;
    if (wanted > ListView_GetColumnWidth(s.list, column)) ListView_SetColumnWidth(s.list, column, wanted);
}

void AddColumns() {
    const UiKey headings[] = {UiKey::WordlistInfoWordlist, UiKey::WordlistInfoWords, UiKey::WordlistInfoLocale,
                              UiKey::CharacterSet};
    for (int i = 0; i < 4; ++i) {
        std::wstring text = UiWide(headings[i]);
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = 10;
        column.pszText = text.data();
        column.iSubItem = i;
        SendMessageW(s.list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

// Each pair's records are counted from its word file's size: the store stays on the
// current pair, and a pair whose file is missing shows as such instead of ending the
// program or gaining list files.
void FillRows() {
    int row = 0;
    for (WordListDescriptor* pair = CatalogueHead; pair; pair = pair->next, ++row) {
        const std::wstring name = PairNameWide(*pair);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.iImage = row;
        item.pszText = const_cast<wchar_t*>(name.c_str());
        SendMessageW(s.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        SetCell(row, 0, name);
        const std::optional<std::int32_t> records = CountWordFileRecords(*pair);
        SetCell(row, 1, records ? std::to_wstring(*records) : UiWideOr("WordlistInfoMissing", "(word file missing)"));
        SetCell(row, 2, WideFromCharset(pair->locale, 0));
        SetCell(row, 3, WideFromCharset(CharsetName(pair->charset1), UiCharset));
    }
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    const int pairs = PairCount();
    s.images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, pairs, 1);
    HICON icon = static_cast<HICON>(LoadImageA(AppInstance, "gloskicon", IMAGE_ICON, 16, 16, 0));
    for (int i = 0; i < pairs; ++i) ImageList_AddIcon(s.images, icon);
    DestroyIcon(icon);
    s.list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                           0, 20, 100, 100, hwnd, nullptr, AppInstance, nullptr);
    ListView_SetImageList(s.list, s.images, LVSIL_SMALL);
    AddColumns();
    FillRows();
    return TRUE;
}

void OnSize(HWND, UINT state, int width, int height) {
    MoveWindow(s.list, 0, 0, width, height, FALSE);
    if (state == SIZE_RESTORED || state == SIZE_MAXIMIZED) InvalidateRect(s.list, nullptr, TRUE);
}

void OnDestroy(HWND) {
    ImageList_Destroy(s.images);
    SecondaryWindowClosed(s);
}

LRESULT CALLBACK InfoWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenInfoWindow() {
    return OpenCentredWindow(kClassName, InfoWindowProc, 0, Ui(UiKey::WordlistInfoCaption), WS_OVERLAPPEDWINDOW, 450,
                             300);
}
