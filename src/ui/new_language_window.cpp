// The new-word-list window: a name, a locale list, a character-set list, Create and Cancel.

#include "ui/new_language_window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "core/editing/add_words.h"
#include "core/editing/new_language.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/strings/ui_strings.h"
#include "core/text/character_sets.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "createnew";

struct NewLanguageState {
    HWND window, name, locales, charsets;
};

NewLanguageState s;

void AddItem(HWND list, const std::wstring& item) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ShowCreateMessage(const std::string& text, UINT icon = 0) {
    UiMessageBox(s.window, text, Ui(UiKey::Dictionary), MB_OK | icon);
}

// The icon every new language gets, carried whole by the program.
std::pair<const void*, std::size_t> LanguageIcon() {
    HRSRC found = FindResourceA(AppInstance, MAKEINTRESOURCEA(IDR_LANGUAGE_ICON), "DATA");
    HGLOBAL loaded = found ? LoadResource(AppInstance, found) : nullptr;
    return {loaded ? LockResource(loaded) : nullptr, found ? SizeofResource(AppInstance, found) : 0};
}

// The name is interface text and names files: it must read the same both ways.
bool ReadName(std::string& name) {
    wchar_t typed[100] = L"";
    GetWindowTextW(s.name, typed, static_cast<int>(std::size(typed)));
    name = CharsetFromWide(typed, UiCharset);
    std::string asFileName;
    return FileNameFromWide(typed, asFileName) && asFileName == name &&
           WideFromCharset(name.c_str(), UiCharset) == typed;
}

void Create() {
    std::string name;
    const bool readable = ReadName(name);
    name = TrimBlanks(name);
    wchar_t locale[32] = L"";
    GetWindowTextW(s.locales, locale, static_cast<int>(std::size(locale)));
    const std::string localeName = CharsetFromWide(locale, 0);
    const int code = kCharacterSetNames[std::max(0, ComboBox_GetCurSel(s.charsets))].charset;

    std::string existing;
    NewLanguageProblem problem = CheckNewLanguageName(name, localeName, code, existing);
    if (problem == NewLanguageProblem::None && !readable) problem = NewLanguageProblem::NotAllowed;
    if (problem != NewLanguageProblem::None) {
        if (problem == NewLanguageProblem::EmptyName) ShowCreateMessage(Ui(UiKey::CreateEmptyEnterName));
        if (problem == NewLanguageProblem::NotAllowed) ShowCreateMessage(Ui(UiKey::CreateEmptyNotAllowed));
        if (problem == NewLanguageProblem::Exists) ShowCreateMessage(existing + "\n\n" + Ui(UiKey::CreateEmptyExists));
        SetFocus(s.name);
        return;
    }

    const auto [icon, iconSize] = LanguageIcon();
    const NewLanguageResult result = CreateNewLanguage(name, localeName, code, icon, iconSize);
    if (result.catalogue == CatalogueWrite::NoCatalogue) ShowCreateMessage(Ui(UiKey::CreateEmptyErrorIni));
    if (result.catalogue == CatalogueWrite::NoTemporary) ShowCreateMessage(Ui(UiKey::CreateEmptyErrorTmp));
    for (int i = 0; i < result.wordFilesFailed; ++i)
        ShowCreateMessage(Ui(UiKey::CreateEmptyErrorDatabase), MB_ICONWARNING);
    if (result.iconFailed) ShowCreateMessage(Ui(UiKey::CreateEmptyIcon));
    // The new pair is in the language menu at once, when both its files are there.
    const bool usable = result.catalogue == CatalogueWrite::Done && result.wordFilesFailed == 0;
    if (usable && ReloadCatalogue() == 0) {
        SendMessageW(MainWindow, kCatalogueChanged, 0, 0);
        ShowCreateMessage(Ui(UiKey::CreateEmptyCreated));
    } else {
        ShowCreateMessage(UiTextOr("CreateEmptyCreatedLater",
                                   "The new word list could not be made ready; see the messages before this one.   "));
    }
    DestroyWindow(s.window);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    const HFONT font = Fonts.GuiFont;
    CreateLabel(hwnd, IDC_NEWLANG_LABEL, UiWide(UiKey::CreateEmptyName), 20, 10, 200, 15, font);
    s.name = CreateControl(hwnd, L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                           IDC_NEWLANG_NAME, 20, 25, 220, 25, font);
    CreateLabel(hwnd, IDC_NEWLANG_LABEL, UiWide(UiKey::CreateEmptyLocale), 20, 60, 300, 15, font);
    s.locales = CreateControl(hwnd, L"COMBOBOX", L"", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0,
                              IDC_NEWLANG_LIST, 20, 75, 220, 250, font);
    for (const CollationLocaleName& locale : kCollationLocales) AddItem(s.locales, WideFromCharset(locale.name, 0));
    SendMessageW(s.locales, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"english"));
    CreateLabel(hwnd, IDC_NEWLANG_LABEL, UiWide(UiKey::CreateEmptyCharset), 20, 110, 300, 15, font);
    s.charsets = CreateControl(hwnd, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, IDC_NEWLANG_LIST,
                               20, 125, 220, 250, font);
    for (const CharacterSetName& set : kCharacterSetNames) AddItem(s.charsets, WideFromCharset(set.entry, 0));
    ComboBox_SetCurSel(s.charsets, 0);
    CreateButton(hwnd, IDC_NEWLANG_CREATE, UiKey::CreateEmptyCreate, 20, 160, 80, 25, WS_TABSTOP);
    CreateButton(hwnd, IDC_NEWLANG_CANCEL, UiKey::Cancel, 160, 160, 80, 25, WS_TABSTOP);
    SetFocus(s.name);
    return TRUE;
}

void OnCommand(HWND hwnd, int id, HWND, UINT code) {
    if (code != BN_CLICKED) return;
    if (id == IDC_NEWLANG_CREATE) Create();
    if (id == IDC_NEWLANG_CANCEL) DestroyWindow(hwnd);
}

void OnDestroy(HWND) { SecondaryWindowClosed(s); }

LRESULT CALLBACK NewLanguageWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorGrey);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenNewLanguageWindow() {
    return OpenCentredWindow(kClassName, NewLanguageWindowProc, 0, Ui(UiKey::CreateEmptyCaption), WS_OVERLAPPEDWINDOW,
                             265, 220);
}
