#include "ui/random_window.h"

#include <windowsx.h>

#include <string>

#include "core/backup/backup.h"
#include "core/lists/random_selection.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "addrandom";

struct RandomState {
    HWND window, number, searchField, owner;
    void (*drawn)();
    bool emptyFirst;
    std::wstring prompt;  // the word count when the window opened
};

RandomState s;

// The list window takes input again before this one goes, so that it is the one activated.
void Close(HWND hwnd) {
    if (IsWindow(s.owner)) EnableWindow(s.owner, TRUE);
    DestroyWindow(hwnd);
}

// Return draws and Escape cancels; both go on to the field as every other key does.
LRESULT NumberProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR) {
    if (msg == WM_KEYDOWN && wParam == VK_RETURN)
        SendMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(IDC_RANDOM_NUMBER, VK_RETURN), 0);
    else if (msg == WM_KEYDOWN && wParam == VK_ESCAPE)
        SendMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(IDC_RANDOM_CANCEL, BN_CLICKED), 0);
    return PassOn(field, msg, wParam, lParam);
}

void Draw(HWND hwnd) {
    const int count = DrawCountOf(FieldText(s.number, UiCharset, 9));
    if (!DrawCountAllowed(count)) {
        SetWindowTextW(s.number, L"");
        return;
    }
    if (s.emptyFirst && !BackUpCurrentList(MessageOwner::ActiveWindow)) return;
    DrawRandomWords(count, s.emptyFirst);
    s.drawn();
    Close(hwnd);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    s.emptyFirst = true;
    s.prompt = UiWide(UiKey::CreateListNumberWords) + L" " + std::to_wstring(WordCount) + L") ?";
    HWND check = CreateButton(hwnd, IDC_RANDOM_EMPTY_FIRST, UiKey::CreateListDelOldlist, 5, 5, 300, 30, BS_CHECKBOX);
    Button_SetCheck(check, BST_CHECKED);
    s.number = CreateEdit(hwnd, IDC_RANDOM_NUMBER, 5, 80, 90, 25, Fonts.GuiFont, ES_AUTOHSCROLL);
    TakeOver(s.number, NumberProc);
    CreateButton(hwnd, IDC_RANDOM_OK, UiKey::OK, 120, 80, 80, 25);
    CreateButton(hwnd, IDC_RANDOM_CANCEL, UiKey::Cancel, 220, 80, 80, 25);
    SetFocus(s.number);
    return TRUE;
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    {
        SelectGuard font(dc, Fonts.GuiFont);
        RECT rect = {7, 43, 320, 60};
        DrawTextW(dc, s.prompt.c_str(), -1, &rect, DT_WORDBREAK);
    }
    EndPaint(hwnd, &ps);
    SetFocus(s.number);
}

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    switch (id) {
        case IDC_RANDOM_CANCEL:
            if (code == BN_CLICKED) Close(hwnd);
            return;
        case IDC_RANDOM_OK:
            if (code == BN_CLICKED) Draw(hwnd);
            return;
        case IDC_RANDOM_NUMBER:
            if (code == VK_RETURN && !control) Draw(hwnd);
            return;
        case IDC_RANDOM_EMPTY_FIRST:
            if (code != BN_CLICKED) return;
            s.emptyFirst = Button_GetCheck(control) != BST_CHECKED;
            Button_SetCheck(control, s.emptyFirst ? BST_CHECKED : BST_UNCHECKED);
            SetFocus(s.number);
            return;
    }
}

void OnDestroy(HWND) {
    s.window = nullptr;
    if (IsWindow(s.owner)) EnableWindow(s.owner, TRUE);  // also when the list window closes it
    if (IsWindow(s.searchField)) SetFocus(s.searchField);
}

LRESULT CALLBACK RandomWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorGrey);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        case WM_CLOSE:
            Close(hwnd);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenRandomWindow(HWND searchField, void (*drawn)()) {
    s.searchField = searchField;
    s.drawn = drawn;
    s.owner = GetAncestor(searchField, GA_ROOT);
    HWND hwnd = OpenCentredWindow(kClassName, RandomWindowProc, 0, Ui(UiKey::CreateListAddRandomNumber),
                                  WS_CAPTION | WS_SYSMENU, 325, 145);
    // Held off while this window is open, as the print dialog holds it.
    if (hwnd) EnableWindow(s.owner, FALSE);
    return hwnd;
}

HWND RandomWindow() { return s.window; }

void CloseRandomWindow() {
    if (s.window) DestroyWindow(s.window);
}
