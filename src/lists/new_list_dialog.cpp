// The new-list dialog (LISTDIALOG): a name box, OK and Cancel.

#include <windowsx.h>

#include "lists/list_storage.h"
#include "lists/list_windows.h"
#include "resource.h"
#include "shell/app.h"
#include "shell/ui_strings.h"

namespace {

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
    SetUiText(dialog, 0, UiKey::NewlistDialogCaption);
    SetUiText(dialog, IDC_LISTDIALOG_GROUP, UiKey::NewlistDialogListname);
    SetUiText(dialog, IDOK, UiKey::NewlistDialogOk);
    SetUiText(dialog, IDCANCEL, UiKey::NewlistDialogCancel);
    HWND edit = GetDlgItem(dialog, IDC_LISTDIALOG_NAME);
    Edit_LimitText(edit, kMaxListNameChars);
    SetFocus(edit);
    return FALSE;  // the focus is set
}

void OnOk(HWND dialog) {
    wchar_t typed[kMaxListNameChars + 1] = L"";
    GetDlgItemTextW(dialog, IDC_LISTDIALOG_NAME, typed, static_cast<int>(std::size(typed)));
    const std::string name = CharsetFromWide(typed, UiCharset);
    if (name.empty()) return;
    if (!ListNameAllowed(name)) {
        MessageBoxW(dialog, WideFromCharset(Ui(UiKey::CreateListNotAllowed), UiCharset).c_str(),
                    WideFromCharset(Ui(UiKey::CreateListnewList), UiCharset).c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    MakeListCurrent(name);
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id, HWND, UINT) {
    if (id == IDOK) OnOk(dialog);
    if (id == IDCANCEL) EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK NewListDialogProc(HWND hwndDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            return SetDlgMsgResult(hwndDlg, msg, HANDLE_WM_INITDIALOG(hwndDlg, wParam, lParam, OnInitDialog));
        case WM_COMMAND:
            HANDLE_WM_COMMAND(hwndDlg, wParam, lParam, OnCommand);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunNewListDialog(HWND owner) { DialogBoxW(AppInstance, L"LISTDIALOG", owner, NewListDialogProc); }
