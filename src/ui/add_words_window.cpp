// The add-words window: two fields, the entries counter, Done and Help.

#include "ui/add_words_window.h"

#include <windowsx.h>
#include <algorithm>

#include <cstdio>
#include <optional>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/editing/add_words.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/help.h"
#include "ui/menus.h"
#include "ui/palette_window.h"
#include "ui/secondary_window.h"
#include "ui/sorting_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "toevoeg";
constexpr int kWidth = 630, kClientHeight = 205;
constexpr RECT kCounter = {15, 146, 400, 166};

struct AddState {
    HWND window, word, translation;
    HWND status;                   // a line over the hint, shown until the next key: what an entry left out
    HWND focusTarget;              // the field the palette types into
    bool closing;                  // the closing sorts run once, however often Done is pressed meanwhile
    std::size_t commasWarned = 0;  // commas in the word when it was last previewed
    std::string previewed;         // the translation the preview showed for the word
    LanguageFonts fonts;
};

AddState s;

// A field's text in its language's code page, when every letter has a place there.
std::optional<std::string> ExactText(HWND field, int charset, std::wstring* missing = nullptr) {
    wchar_t typed[128] = L"";  // the limits are 30 and 50 characters
    GetWindowTextW(field, typed, static_cast<int>(std::size(typed)));
    std::string text;
    if (!ExactFromWide(typed, CodePageOf(charset), text, missing)) return std::nullopt;
    return text;
}

std::optional<std::string> WordText(std::wstring* missing = nullptr) {
    return ExactText(s.word, Adding.pair->charset1, missing);
}

// A letter the pair's character set lacks would be stored as another one, or as "?".
void LetterWarning(HWND field, const std::wstring& letter) {
    SetFocus(field);
    const std::wstring text =
        WithTexts(UiWideOr("AddLetterMissing",
                           "The letter \"%s\" cannot be stored in this word list: its character set has no place "
                           "for it. Nothing has been stored.   "),
                  {letter});
    UiMessageBox(s.window, text, Ui(UiKey::Error), MB_OK | MB_ICONWARNING);
}

// The warning moves the focus to the word field first, so closing it does not bring the
// focus back to the field that raised it.
void CommaWarning() {
    SetFocus(s.word);
    UiMessageBox(s.window, Ui(UiKey::AddNocomma), Ui(UiKey::Error), MB_OK | MB_ICONWARNING);
}

void FollowFocus(HWND field) {
    s.focusTarget = field;
    const bool first = field == s.word;
    PaletteFollows(field, first ? Adding.pair->charset1 : Adding.pair->charset2,
                   first ? Adding.pair->name1 : Adding.pair->name2);
}

void Preview() {
    ShowWindow(s.status, SW_HIDE);
    const std::optional<std::string> exact = WordText();
    if (!exact) {  // a letter the pair lacks: no such word in it; the warning comes with Enter
        SetWindowTextW(s.translation, L"");
        s.previewed.clear();
        return;
    }
    const std::string& word = *exact;
    // Warned once for each comma typed: at every key after it, the keys typed while the
    // warning shows would be lost. Enter warns again while a comma is left.
    const std::size_t commas = static_cast<std::size_t>(std::count(word.begin(), word.end(), ','));
    const bool newComma = commas > s.commasWarned;
    s.commasWarned = commas;
    if (newComma) return CommaWarning();
    if (commas > 0 || word.empty()) return;
    const std::optional<std::string> translation = PreviewTranslation(word);
    s.previewed = translation.value_or("");
    SetFieldText(s.translation, s.previewed, Adding.pair->charset2);
}

// The translations the reverse pair did not take, said on the status line rather than lost
// in silence; the next key in the word field takes the line away.
void ShowLeftOut() {
    if (Adding.reverseLeftOut.empty()) return;
    std::string pieces;
    for (const std::string& piece : Adding.reverseLeftOut) pieces += (pieces.empty() ? "\"" : ", \"") + piece + "\"";
    const std::wstring text = WithTexts(UiWideOr("AddReverseLeftOut",
                                                 "Stored. Not added the other way round: %s - too long for a word "
                                                 "there, or no room left there."),
                                        {WideFromCharset(pieces.c_str(), Adding.pair->charset2)});
    SetWindowTextW(s.status, text.c_str());
    ShowWindow(s.status, SW_SHOW);
}

void AcceptWord() {
    std::wstring missing;
    const std::optional<std::string> exact = WordText(&missing);
    if (!exact) return LetterWarning(s.word, missing);
    const std::string& typed = *exact;
    if (typed.empty()) return;
    const std::string word = TrimBlanks(typed);
    SetFieldText(s.word, word, Adding.pair->charset1);
    if (word.find(',') != std::string::npos) return CommaWarning();
    if (!word.empty()) SetFocus(s.translation);
}

void DrawCounter(HDC dc) {
    RECT band = kCounter;
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SelectGuard font(dc, Fonts.GuiFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    char text[200];
    std::snprintf(text, sizeof text, "%s : %d", Ui(UiKey::AddNewentries), Adding.entries);
    DrawTextW(dc, WideFromCharset(text, UiCharset).c_str(), -1, &band, DT_SINGLELINE | DT_LEFT);
}

void ConfirmTyped() {
    std::wstring missing;
    const std::optional<std::string> word = WordText(&missing);
    if (!word) return LetterWarning(s.word, missing);
    const std::optional<std::string> translation = ExactText(s.translation, Adding.pair->charset2, &missing);
    if (!translation) return LetterWarning(s.translation, missing);
    switch (ConfirmEntry(*word, *translation)) {
        case EntryResult::Ignored:
            return;
        case EntryResult::HasComma:
            return CommaWarning();
        case EntryResult::TooLong:
            UiMessageBox(s.window,
                         UiTextOr("AddTooLong",
                                  "Together the translations are longer than 50 characters (a comma and a blank "
                                  "separate each). Nothing has been stored; please shorten them.   "),
                         Ui(UiKey::Error), MB_OK | MB_ICONWARNING);
            return;
        case EntryResult::NotStored:
            // The fields keep what was typed, so nothing is lost when the disk is back.
            UiMessageBox(s.window,
                         UiTextOr("AddNotStored",
                                  "The word could not be stored: its word file cannot be written. What you typed is "
                                  "still in the fields.   "),
                         Ui(UiKey::Error), MB_OK | MB_ICONERROR);
            return;
        case EntryResult::ReverseNotStored:
            UiMessageBox(s.window,
                         UiTextOr("AddReverseNotStored",
                                  "The word could not be stored: the word file of the other direction cannot be "
                                  "opened or written, and an entry is stored in both directions or in neither. What "
                                  "you typed is still in the fields.   "),
                         Ui(UiKey::Error), MB_OK | MB_ICONERROR);
            return;
        case EntryResult::Cleared:
            break;
        case EntryResult::Stored: {
            const WindowDc dc(s.window);
            DrawCounter(dc);
            ShowLeftOut();
            break;
        }
    }
    SetWindowTextW(s.word, L"");
    SetWindowTextW(s.translation, L"");
    s.previewed.clear();
    SetFocus(s.word);
}

// Enter is the fields' command and never reaches them; a key released in the word field
// previews its translation.
LRESULT FieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR) {
    switch (msg) {
        case WM_KEYDOWN:
            if (wParam != VK_RETURN) break;
            if (field == s.word)
                AcceptWord();
            else
                ConfirmTyped();
            return 0;
        case WM_CHAR:
            if (wParam == '\r' || wParam == '\n') return 0;
            break;
        case WM_KEYUP: {
            const LRESULT result = PassOn(field, msg, wParam, lParam);
            if (field == s.word && wParam != VK_RETURN) Preview();
            return result;
        }
    }
    return PassOn(field, msg, wParam, lParam);
}

HWND Field(HWND parent, int id, int top, int limit, HFONT font) {
    HWND field =
        CreateControl(parent, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, id, 15, top, 595, 35, font);
    Edit_LimitText(field, limit);
    TakeOver(field, FieldProc);
    return field;
}

HMENU MenuBar() {
    HMENU bar = CreateMenu();
    AppendPaletteMenu(bar, UiKey::AddMenuCharset0, UiKey::AddMenuCharset1, UiKey::AddMenuCharset2);
    AppendPopup(bar, Popup({{UiKey::AddMenuOptions1, IDM_ADD_TO_LIST, Settings.AddNewWordsToList == 1}}),
                UiKey::AddMenuOptions0);
    return bar;
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    SetMenu(hwnd, MenuBar());
    s.closing = false;
    s.commasWarned = 0;
    s.fonts.Create(*Adding.pair, 17, FW_NORMAL);
    s.word = Field(hwnd, IDC_ADD_WORD, 35, static_cast<int>(kMaxWordChars), s.fonts.first.get());
    s.translation = Field(hwnd, IDC_ADD_TRANSLATION, 105, static_cast<int>(kMaxTranslationChars), s.fonts.second.get());
    CreateButton(hwnd, IDC_ADD_DONE, UiKey::Done, 510, 150, 100, 30);
    CreateButton(hwnd, IDC_ADD_HELP, UiKey::Help, 400, 150, 100, 30);
    s.status = CreateLabel(hwnd, IDC_ADD_STATUS, L"", 15, 166, 380, 36, Fonts.GuiFont);
    ShowWindow(s.status, SW_HIDE);
    OfferPalette(hwnd, s.word, Adding.pair->charset1, Adding.pair->name1);
    s.focusTarget = s.word;
    MoveToStoredPosition(hwnd, Settings.addWindow);
    SetFocus(s.word);
    return TRUE;
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawTopEdge(hwnd, dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(30, 30, 230));
    RECT confirm = {15, 166, 400, 210};
    DrawTextW(dc, UiWide(UiKey::AddConfirm).c_str(), -1, &confirm, DT_SINGLELINE | DT_LEFT);
    {
        // Green over a light-grey shadow one pixel right and below.
        SelectGuard font(dc, Fonts.PracticeBoldFont);
        DrawShadowedText(dc, NameWide(Adding.pair->name1), {16, 11, 621, 66}, DT_SINGLELINE | DT_LEFT);
        DrawShadowedText(dc, NameWide(Adding.pair->name2), {16, 81, 621, 115}, DT_SINGLELINE | DT_LEFT);
    }
    DrawCounter(dc);
    EndPaint(hwnd, &ps);
}

void ToggleAddToList(HWND hwnd) {
    Settings.AddNewWordsToList = Settings.AddNewWordsToList == 1 ? 0 : 1;
    CheckMenuItem(GetMenu(hwnd), IDM_ADD_TO_LIST,
                  MF_BYCOMMAND | (Settings.AddNewWordsToList == 1 ? MF_CHECKED : MF_UNCHECKED));
}

// The reverse pair first, then the window's own: each word file that gained records. The
// window and its palette take no input meanwhile: an entry typed behind a failed sort's
// message would land in whichever pair is current then.
// An entry typed but not confirmed with Enter: a word, and a translation other than the one
// the preview showed for it (a word only looked up is no entry).
bool Unconfirmed() {
    return GetWindowTextLengthW(s.word) > 0 && GetWindowTextLengthW(s.translation) > 0 &&
           FieldText(s.translation, Adding.pair->charset2) != s.previewed;
}

// Whether the window may close: an entry typed but not confirmed is stored, dropped or kept
// as the user says, never dropped in silence.
bool MayClose() {
    if (!Unconfirmed()) return true;
    wchar_t word[64] = L"";  // at most 30 characters
    GetWindowTextW(s.word, word, static_cast<int>(std::size(word)));
    const std::wstring text = WithTexts(UiWideOr("AddUnconfirmed",
                                                 "\"%s\" has not been stored yet: you did not press Enter. Store "
                                                 "it before the window closes?   "),
                                        {word});
    switch (UiMessageBox(s.window, text, UiWide(UiKey::AddCaption), MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            ConfirmTyped();
            return !Unconfirmed();  // a refused entry stays, with the warning that said why
        case IDNO:
            return true;
        default:
            return false;
    }
}

void CloseAddWindow(HWND hwnd) {
    if (s.closing || !MayClose()) return;
    s.closing = true;
    ClosePalette();
    EnableWindow(hwnd, FALSE);
    if (Adding.reverseChanged && Adding.reverse) {
        SwitchStoreTo(*Adding.reverse);
        RunSort(Adding.reverseSortedCount);
        Adding.reverseChanged = false;
        SwitchStoreTo(*Adding.pair);
    }
    if (ModifiedFlag) {
        RunSort(Adding.sortedCount);
        ModifiedFlag = 0;
    }
    DestroyWindow(hwnd);
}

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (code == EN_SETFOCUS && control == s.word) return FollowFocus(s.word);
    if (code == EN_SETFOCUS && control == s.translation) {
        if (WordText().value_or("").find(',') != std::string::npos) return CommaWarning();
        Edit_SetSel(s.translation, INT_MAX, INT_MAX);
        return FollowFocus(s.translation);
    }
    if (control && code != BN_CLICKED) return;
    switch (id) {
        case IDC_ADD_DONE:
            return CloseAddWindow(hwnd);
        case IDC_ADD_HELP:
            return OpenHelp(Ui(UiKey::AddHelpkey));
        case IDM_PALETTE_SHOW:
            return ShowPalette(true);
        case IDM_PALETTE_HIDE:
            return ShowPalette(false);
        case IDM_ADD_TO_LIST:
            return ToggleAddToList(hwnd);
    }
}

// The status line in dark red on the window's grey.
HBRUSH OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int type) {
    if (control == s.status) SetTextColor(dc, RGB(170, 0, 0));
    return OnCtlColorGrey(hwnd, dc, control, type);
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.focusTarget); }

void OnClose(HWND hwnd) { CloseAddWindow(hwnd); }

void OnDestroy(HWND hwnd) {
    ClosePalette();
    Settings.addWindow = NormalPosition(hwnd);
    Palette.target = nullptr;
    s.fonts.Reset();
    s.window = s.word = s.translation = s.status = s.focusTarget = nullptr;
    SecondaryWindowClosed(Adding);  // the pairs it names may not outlive the window
}

LRESULT CALLBACK AddWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenAddWindow() {
    BeginAdding();
    const int height = kClientHeight + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU);
    return OpenCentredWindow(kClassName, AddWindowProc, CS_HREDRAW | CS_VREDRAW, Ui(UiKey::AddCaption),
                             WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kWidth, height);
}
