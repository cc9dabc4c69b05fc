// The new-list dialog (LISTDIALOG): a name box, OK and Cancel.

#include "ui/new_list_dialog.h"

#include <windowsx.h>

#include "core/lists/list_storage.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/ui_text.h"

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

void Refuse(HWND dialog) {
    UiMessageBox(dialog, Ui(UiKey::CreateListNotAllowed), Ui(UiKey::CreateListnewList), MB_OK | MB_ICONWARNING);
}

// The name is a directory name: it is converted as the file system will store it, and
// what the file system would change or cut is refused rather than made into another list.
void OnOk(HWND dialog) {
    wchar_t typed[kMaxListNameChars + 1] = L"";
    GetDlgItemTextW(dialog, IDC_LISTDIALOG_NAME, typed, static_cast<int>(std::size(typed)));
    std::string name;
    if (!FileNameFromWide(typed, name)) return Refuse(dialog);
    name = TrimmedListName(name);
    if (name.empty()) return;
    if (!ListNameAllowed(name)) return Refuse(dialog);
    // A directory that cannot be made leaves the current list as it was, and the dialog
    // open for another name.
    if (!MakeListCurrent(name)) {
        UiMessageBox(dialog,
                     UiTextOr("CreateListNotMade",
                              "The folder of this practice list could not be made. Please choose another name.   "),
                     Ui(UiKey::CreateListnewList), MB_OK | MB_ICONWARNING);
        return;
    }
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
