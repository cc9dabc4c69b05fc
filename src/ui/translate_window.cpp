#include "ui/translate_window.h"

#include <commdlg.h>
#include <windowsx.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lookup/pager.h"
#include "core/lookup/reading.h"
#include "core/morphology/word_lookup.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "platform/platform.h"
#include "platform/text_convert.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/base_form_label.h"
#include "ui/clipboard.h"
#include "ui/controls.h"
#include "ui/file_dialog.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/help.h"
#include "ui/menus.h"
#include "ui/record_pager.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "vertaal";
constexpr int kRows = 3;
// More than a text box shows in reasonable time; a larger text is refused with a message.
constexpr std::size_t kMaxTextBytes = 8u << 20;
// The base-form label: the line left free under the search field and the buttons, so that
// every control keeps its place.
constexpr int kLabelTop = 331, kLabelHeight = 15;

void ShowTranslateRows(std::int32_t top);

struct TranslateState {
    HWND window, text, search, baseForm;
    HWND words[kRows], translations[kRows];
    RecordPager pager{[] { return WordCount; }, ShowTranslateRows};
    HWND focusTarget;
    std::string loaded;               // the text's bytes in the first language's code page
    std::wstring clipboard;           // clipboard text as it came, made bytes again for each pair
    std::string unicodeFile;          // a UTF-8 or UTF-16 file as read, converted again for each pair
    std::vector<std::size_t> byteOf;  // a text-box position's byte, where they differ
    std::string lastWord;
    // The record of the caret word's base form, which the rows show once the field has the word.
    std::int32_t baseTop = -1;
    bool lookingUpCaretWord;
    char fileName[MAX_PATH];
    LanguageFonts fonts;
};

TranslateState s;

void ShowTranslateRows(std::int32_t top) { ShowRecordRows(top, s.words, s.translations, kRows); }

// The text box holds the bytes decoded with the first language's code page; a position
// in it is a byte position unless the code page takes several bytes for a character.
void ShowLoadedText() {
    const std::wstring wide = WideFromCharset(s.loaded.c_str(), CurrentPair->charset1);
    s.byteOf.clear();
    const std::size_t shown = s.loaded.find('\0') == std::string::npos ? s.loaded.size() : s.loaded.find('\0');
    if (wide.size() != shown) {
        const UINT codePage = CodePageOf(CurrentPair->charset1);
        s.byteOf.reserve(wide.size() + 1);
        std::size_t byte = 0;
        for (std::size_t i = 0; i < wide.size() && byte < shown; ++i) {
            s.byteOf.push_back(byte);
            byte += IsDBCSLeadByteEx(codePage, static_cast<BYTE>(s.loaded[byte])) && byte + 1 < shown ? 2 : 1;
        }
        s.byteOf.push_back(byte);
    }
    SetWindowTextW(s.text, wide.c_str());
    s.lastWord.clear();
}

// The limit stands in the text itself, so a strings file cannot make it a format.
void TooLarge() {
    static_assert(kMaxTextBytes == 8u << 20, "the message names the limit");
    UiMessageBox(s.window,
                 UiTextOr("TranslateTooLarge", "This text is too large to show here: at most 8 MB can be read.   "),
                 Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
}

// Letters the pair's code page lacks show as "?"; without a word on it the user would
// take the text for damaged, or a word with one for missing from the word list.
void TellReplacedLetters(const ReadingText& reading) {
    if (reading.replaced.empty()) return;
    std::wstring letters, letter;
    for (const std::string& replaced : reading.replaced) {
        platform::ToWide(replaced, platform::kUtf8CodePage, platform::Conversion::Lenient, letter);
        letters += (letters.empty() ? L"" : L" ") + letter;
    }
    if (reading.replacedCount > reading.replaced.size()) letters += L" ...";
    const std::wstring text = WithTexts(UiWideOr("TranslateLettersReplaced",
                                                 "Some letters of this text have no place in the character set of "
                                                 "this word list; they are shown as \"?\": %s   "),
                                        {letters});
    UiMessageBox(s.window, text, Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
}

// A file's text in the current pair's code page: a code-page file's bytes as they are, a
// Unicode file's letters converted. The file's encoding.
TextEncoding ShowFileText(std::string_view file) {
    ReadingText reading = ReadingTextOf(file, CodePageOf(CurrentPair->charset1));
    s.loaded = std::move(reading.text);
    ShowLoadedText();
    TellReplacedLetters(reading);
    return reading.encoding;
}

void WordAtCaret() {
    if (s.loaded.empty()) return;
    DWORD start = 0;
    SendMessageW(s.text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    std::size_t caret = start;
    if (!s.byteOf.empty()) caret = caret < s.byteOf.size() ? s.byteOf[caret] : s.loaded.size();
    const std::string word = WordAt(s.loaded, caret);
    if (word.empty() || word == s.lastWord) return;
    s.lastWord = word;
    // The field keeps the word as the text spells it; the rows show what stands for it.
    const LookupResult found = LookUpInWordFile(word);
    s.baseTop = FoundByOtherForm(found) ? found.index : -1;
    ShowBaseForm(s.baseForm, BaseFormText(word, found, CurrentPair->charset1));
    s.lookingUpCaretWord = true;
    SetFieldText(s.search, word, CurrentPair->charset1);
    s.lookingUpCaretWord = false;
    // The field may already have held the word, and then says nothing of a change.
    if (const std::int32_t top = std::exchange(s.baseTop, -1); top >= 0) s.pager.Settle(top);
}

// Typing, or the caret's word set into the field: the rows follow. The label speaks of the
// caret's word only.
void SearchChanged() {
    if (!s.lookingUpCaretWord) ShowBaseForm(s.baseForm, L"");
    const std::int32_t base = std::exchange(s.baseTop, -1);
    s.pager.Settle(
        base >= 0 ? base : FindWord(FieldText(s.search, CurrentPair->charset1, kSearchFieldChars).c_str(), WordCount));
}

void TakeClipboard() {
    std::wstring text;
    if (!ClipboardText(s.window, kMaxTextBytes + 1, text)) return;
    if (text.size() > kMaxTextBytes) return TooLarge();
    s.clipboard = std::move(text);
    s.unicodeFile.clear();
    s.loaded = CharsetFromWide(s.clipboard.c_str(), CurrentPair->charset1);
    ShowLoadedText();
    SetFocus(s.text);
}

void ChooseFile() {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = s.window;
    dialog.lpstrFilter = "Text Files (*.TXT)\0*.txt\0All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = s.fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = "C:\\";
    dialog.lpstrDefExt = "txt";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!RunFileDialog(dialog, false)) return;
    LoadTextFile(s.fileName);
    SetFocus(s.text);
}

// Keys and clicks in the text box move the caret; where it rests is looked up.
LRESULT TextProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR) {
    const LRESULT result = PassOn(box, msg, wParam, lParam);
    if (msg == WM_KEYUP || msg == WM_LBUTTONUP) WordAtCaret();
    return result;
}

HMENU MenuBar() {
    return MenuBarOf(UiKey::TranslateMenuFile0, {{UiKey::TranslateMenuFile1, IDM_TRANSLATE_OPEN},
                                                 {UiKey::TranslateMenuFile2, IDM_TRANSLATE_CLIPBOARD}});
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    s.focusTarget = nullptr;
    s.lastWord.clear();
    SetMenu(hwnd, MenuBar());
    s.fonts.Create(*CurrentPair, 11, FW_NORMAL);
    s.text =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                            ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                        20, 115, 586, 180, hwnd, reinterpret_cast<HMENU>(IDC_TRANSLATE_TEXT), AppInstance, nullptr);
    SetWindowFont(s.text, s.fonts.first.get(), FALSE);
    SendMessageW(s.text, EM_SETLIMITTEXT, 0, 0);
    TakeOver(s.text, TextProc);
    CreateButton(hwnd, IDC_TRANSLATE_DONE, UiKey::Done, 505, 300, 100, 30);
    CreateButton(hwnd, IDC_TRANSLATE_HELP, UiKey::Help, 400, 300, 100, 30);
    s.search = CreateEdit(hwnd, IDC_TRANSLATE_SEARCH, 20, 300, 215, 25, s.fonts.first.get());
    for (int r = 0; r < kRows; ++r) {
        s.words[r] = CreateRowField(hwnd, IDC_TRANSLATE_WORD_FIRST + r, 20, 40 + 23 * r, 215, 30, s.fonts.first.get());
        s.translations[r] =
            CreateRowField(hwnd, IDC_TRANSLATE_TRANSLATION_FIRST + r, 255, 40 + 23 * r, 350, 50, s.fonts.second.get());
    }
    HWND scroll = CreatePageScrollBar(hwnd, IDC_TRANSLATE_SCROLL, 235, 40, 69);
    s.baseForm =
        CreateBaseFormLabel(hwnd, IDC_TRANSLATE_BASE_FORM, 20, kLabelTop, 586, kLabelHeight, s.fonts.first.get());
    s.baseTop = -1;
    s.lookingUpCaretWord = false;
    ModifiedFlag = 0;
    SetFocus(s.search);
    AttachSearchField(s.search, s.pager);
    s.pager.Attach(scroll, kRows, 10);
    s.pager.Reset();
    MoveToStoredPosition(hwnd, Settings.translateWindow);
    return TRUE;
}

// The read-only text box asks for its colours as a static control does; it keeps its own.
HBRUSH OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int) {
    if (control != s.baseForm) return FORWARD_WM_CTLCOLORSTATIC(hwnd, dc, control, DefWindowProcW);
    return BaseFormColours(hwnd, dc, control);
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawTopEdge(hwnd, dc);
    SelectGuard font(dc, Fonts.TranslateBoldFont);
    DrawShadowedText(dc, NameWide(CurrentPair->name1), {20, 10, 235, 40}, DT_SINGLELINE | DT_CENTER);
    DrawShadowedText(dc, NameWide(CurrentPair->name2), {255, 10, 605, 40}, DT_SINGLELINE | DT_CENTER);
    EndPaint(hwnd, &ps);
}

// The word file is only read here, so a switch needs no sort first.
void SwitchPair(HWND hwnd, int id) {
    if (!PairOfMenuId(id)) return;
    // The main window switches, as from its own language menu (check mark, selection saved,
    // store reopened, flags); this window then follows.
    SendMessageW(MainWindow, WM_COMMAND, static_cast<WPARAM>(id), 0);
    const LanguageFonts old = std::move(s.fonts);
    s.fonts.Create(*CurrentPair, 11, FW_NORMAL);
    s.fonts.Apply(s.words, s.translations, kRows, s.search);
    SetWindowFont(s.text, s.fonts.first.get(), TRUE);
    SetWindowFont(s.baseForm, s.fonts.first.get(), FALSE);
    ShowBaseForm(s.baseForm, L"");
    InvalidateRect(hwnd, nullptr, TRUE);
    s.pager.Reset();
    s.lastWord.clear();
    // A code-page file's bytes are read in the new pair's code page; Unicode text, from a
    // file or the clipboard, is made into that code page's bytes afresh.
    if (!s.unicodeFile.empty()) {
        ShowFileText(s.unicodeFile);
        return;
    }
    if (!s.clipboard.empty()) s.loaded = CharsetFromWide(s.clipboard.c_str(), CurrentPair->charset1);
    if (!s.loaded.empty()) ShowLoadedText();
}

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (control == s.search && code == EN_CHANGE) return SearchChanged();
    if (code == EN_SETFOCUS && (control == s.search || control == s.text)) {
        s.focusTarget = control;
        return;
    }
    if (control && code != BN_CLICKED) return;
    switch (id) {
        case IDM_TRANSLATE_OPEN:
            return ChooseFile();
        case IDM_TRANSLATE_CLIPBOARD:
            return TakeClipboard();
        case IDC_TRANSLATE_HELP:
            return OpenHelp(Ui(UiKey::TranslateHelpkey));
        case IDC_TRANSLATE_DONE:
            DestroyWindow(hwnd);
            return;
    }
    if (!control) SwitchPair(hwnd, id);
}

void OnVScroll(HWND, HWND, UINT code, int position) { s.pager.Scroll(code, position); }

void OnRButtonUp(HWND hwnd, int x, int y, UINT) { PopUpLanguageMenu(hwnd, x, y); }

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.focusTarget); }

void OnDestroy(HWND hwnd) {
    Settings.translateWindow = NormalPosition(hwnd);
    s.fonts.Reset();
    s.loaded.clear();
    s.loaded.shrink_to_fit();
    s.clipboard.clear();
    s.clipboard.shrink_to_fit();
    s.unicodeFile.clear();
    s.unicodeFile.shrink_to_fit();
    s.byteOf.clear();
    s.window = nullptr;
    SecondaryWindowClosed();
}

LRESULT CALLBACK TranslateWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_VSCROLL, OnVScroll);
        HANDLE_MSG(hwnd, WM_RBUTTONUP, OnRButtonUp);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenTranslateWindow() {
    const int height = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 352;
    return OpenCentredWindow(kClassName, TranslateWindowProc, CS_HREDRAW | CS_VREDRAW, Ui(UiKey::TranslateCaption),
                             WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 630, height);
}

bool LoadTextFile(const std::string& path) {
    const std::optional<platform::FileStamp> stamp = platform::StampOf(path);
    if (stamp && stamp->size > static_cast<std::int64_t>(kMaxTextBytes)) {
        TooLarge();
        return false;
    }
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes, kMaxTextBytes)) return false;
    s.clipboard.clear();
    // Only a Unicode file is kept as read: a code-page file's bytes are its text in any pair.
    const bool unicode = ShowFileText(bytes) != TextEncoding::CodePage;
    s.unicodeFile = unicode ? std::move(bytes) : std::string();
    return true;
}
