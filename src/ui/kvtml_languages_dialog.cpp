// The dialog that picks a KVTML file's two languages (KVTMLDIALOG): a line of text, a
// list of the file's languages for each language of the pair, OK and Cancel.

#include "ui/kvtml_languages_dialog.h"

#include <windowsx.h>

#include "core/catalogue/catalogue.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/ui_text.h"

namespace {

struct KvtmlDialogState {
    const std::vector<std::wstring>* languages = nullptr;
    int first = -1, second = -1;
};

KvtmlDialogState s;

void FillList(HWND dialog, int id, int chosen) {
    HWND list = GetDlgItem(dialog, id);
    for (const std::wstring& language : *s.languages)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.c_str()));
    ComboBox_SetCurSel(list, chosen);
}

int Chosen(HWND dialog, int id) { return ComboBox_GetCurSel(GetDlgItem(dialog, id)); }

// One language of the file cannot be both.
void EnableOk(HWND dialog) {
    const int first = Chosen(dialog, IDC_KVTMLDIALOG_FIRST), second = Chosen(dialog, IDC_KVTMLDIALOG_SECOND);
    EnableWindow(GetDlgItem(dialog, IDOK), first >= 0 && second >= 0 && first != second);
}

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
    SetWindowTextW(dialog, UiWideOr("KvtmlDialogCaption", "Languages of the file").c_str());
    SetDlgItemTextW(
        dialog, IDC_KVTMLDIALOG_TEXT,
        UiWideOr("KvtmlDialogText", "Choose which of the file's languages holds the words and which the translations.")
            .c_str());
    SetDlgItemTextW(dialog, IDC_KVTMLDIALOG_FIRST_LABEL,
                    (UiWideOr("KvtmlDialogWords", "Words in") + L" " + NameWide(CurrentPair->name1) + L":").c_str());
    SetDlgItemTextW(
        dialog, IDC_KVTMLDIALOG_SECOND_LABEL,
        (UiWideOr("KvtmlDialogTranslations", "Translations in") + L" " + NameWide(CurrentPair->name2) + L":").c_str());
    SetUiText(dialog, IDOK, UiKey::NewlistDialogOk);
    SetUiText(dialog, IDCANCEL, UiKey::NewlistDialogCancel);
    FillList(dialog, IDC_KVTMLDIALOG_FIRST, s.first);
    FillList(dialog, IDC_KVTMLDIALOG_SECOND, s.second);
    EnableOk(dialog);
    return TRUE;
}

void OnCommand(HWND dialog, int id, HWND, UINT code) {
    if ((id == IDC_KVTMLDIALOG_FIRST || id == IDC_KVTMLDIALOG_SECOND) && code == CBN_SELCHANGE) EnableOk(dialog);
    if (id == IDOK && IsWindowEnabled(GetDlgItem(dialog, IDOK))) {
        s.first = Chosen(dialog, IDC_KVTMLDIALOG_FIRST);
        s.second = Chosen(dialog, IDC_KVTMLDIALOG_SECOND);
        EndDialog(dialog, IDOK);
    }
    if (id == IDCANCEL) EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK KvtmlDialogProc(HWND hwndDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
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

std::optional<std::pair<int, int>> ChooseKvtmlLanguages(HWND owner, const std::vector<std::wstring>& languages,
                                                        int first, int second) {
    s = KvtmlDialogState{&languages, first, second};
    const INT_PTR answer = DialogBoxW(AppInstance, L"KVTMLDIALOG", owner, KvtmlDialogProc);
    s.languages = nullptr;
    if (answer != IDOK) return std::nullopt;
    return std::make_pair(s.first, s.second);
}
