// The search window: a page of records kept on what is typed into the search field,
// with cells that can be corrected, deleted and restored in place.

#include "ui/search_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lookup/pager.h"
#include "core/lookup/reading.h"
#include "core/lookup/sounds.h"
#include "core/morphology/word_lookup.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/base_form_label.h"
#include "ui/clipboard.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/menus.h"
#include "ui/palette_window.h"
#include "ui/record_pager.h"
#include "ui/secondary_window.h"
#include "ui/sorting_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

constexpr int kMaxRows = kMaxPageRows;
const char kClassName[] = "zoeken";
// The compact row's cell while it is being edited: a pale yellow, as a note being written.
constexpr COLORREF kEditingColour = RGB(255, 255, 192);

enum class CellKind { Word, Translation };

void ShowSearchRows(std::int32_t top);

struct SearchState {
    HWND window;
    int rows, compact;
    RecordPager pager{[] { return WordCount; }, ShowSearchRows};
    HWND words[kMaxRows], translations[kMaxRows];
    HWND search, done, scroll;
    HWND baseForm;
    // The base form the label offers for the typed word, which Tab takes into the field.
    std::string offeredBase;
    // Set while copied text goes into the field: its word's base form is shown at once.
    bool followBase;
    HWND focusTarget;
    // The compact layout's cell that takes the keys, once asked to by a double-click or F2.
    HWND editing;
    Brush editingBrush;
    bool rebuilding, closing;
    ClipboardWatch clipboard;
    LanguageFonts fonts;
    Menu liveMenu, deletedMenu;
};

SearchState s;

void ShowCell(int row, CellKind kind, const char* text, int charset) {
    ShowInCell(kind == CellKind::Word ? s.words[row] : s.translations[row], text, charset);
}

void ShowRecordCells(int row, const WordRecord& record) {
    const bool deleted = IsDeleted(record);
    ShowCell(row, CellKind::Word, deleted ? Ui(UiKey::CreateListDeleted) : record.word,
             deleted ? UiCharset : CurrentPair->charset1);
    ShowCell(row, CellKind::Translation, deleted ? Ui(UiKey::CreateListDeleted) : record.translation,
             deleted ? UiCharset : CurrentPair->charset2);
}

void EndEditing(bool restore);

// Rows past the end keep what they showed. A page that moves under an edit ends it, and the
// keys go back to the search, lest they land on the record that took the edited one's place.
void ShowSearchRows(std::int32_t top) {
    if (const HWND edited = s.editing) {
        EndEditing(false);
        if (GetFocus() == edited) SetFocus(s.search);
    }
    WordRecord page[kMaxRows];
    const std::int32_t got = ReadPage(top, s.rows, page);
    for (int r = 0; r < got; ++r) ShowRecordCells(r, page[r]);
}

// The rows stand where the typed text would; a word that only another form of is in the
// word file gets the label, which offers that form. A copied word's rows show its record.
void IncrementalSearch() {
    const std::string text = FieldText(s.search, CurrentPair->charset1, kSearchFieldChars);
    const bool follow = std::exchange(s.followBase, false);
    // A copied word may come with its comma or line end; a typed one is the whole text. The
    // compact layout has no room for the label.
    const std::string whole =
        s.compact && !follow ? std::string() : FieldText(s.search, CurrentPair->charset1, kMaxLookedUpChars + 1);
    std::string word = SingleWord(whole);
    if (!follow && word != whole) word.clear();
    const LookupResult found = word.empty() ? LookupResult() : LookUpInWordFile(word);
    const bool shown = follow && FoundByOtherForm(found);
    s.offeredBase = FoundByOtherForm(found) && !shown ? found.candidate : std::string();
    std::wstring label = BaseFormText(word, found, CurrentPair->charset1);
    if (!s.offeredBase.empty()) label = WithTexts(UiWideOr("SearchBaseFormTab", "%s   (Tab)"), {label});
    ShowBaseForm(s.baseForm, label);
    s.pager.Settle(shown ? found.index : FindWord(text.c_str(), WordCount));
}

// Tab, or a click on the label: the offered base form goes into the field, caret after it.
bool GoToBaseForm() {
    if (s.offeredBase.empty()) return false;
    const std::string base = s.offeredBase;
    SetFieldText(s.search, base, CurrentPair->charset1);
    const int end = GetWindowTextLengthW(s.search);
    Edit_SetSel(s.search, end, end);
    return true;
}

// The palette types into the field with the focus, in that field's language.
void FollowFocus(HWND field, CellKind kind) {
    s.focusTarget = field;
    const bool first = kind == CellKind::Word;
    PaletteFollows(field, first ? CurrentPair->charset1 : CurrentPair->charset2,
                   first ? CurrentPair->name1 : CurrentPair->name2);
}

int RowOf(HWND cell, CellKind* kind) {
    for (int r = 0; r < s.rows; ++r) {
        if (cell == s.words[r]) {
            *kind = CellKind::Word;
            return r;
        }
        if (cell == s.translations[r]) {
            *kind = CellKind::Translation;
            return r;
        }
    }
    return -1;
}

bool RowHoldsRecord(int row) { return row >= 0 && s.pager.top() + row < WordCount; }

// The compact layout shows no search field, so what is typed must go to it unless the user
// asked to edit the row: a click on the row that took the keys would rename the record with
// whatever was meant as a lookup.
bool TakesKeys(HWND cell) { return !s.compact || cell == s.editing; }

// Stops an edit of the compact row; `restore` shows the stored record again, so what was
// typed and not stored does not stay on show.
void EndEditing(bool restore) {
    const HWND cell = std::exchange(s.editing, nullptr);
    if (!cell) return;
    InvalidateRect(cell, nullptr, TRUE);
    CellKind kind;
    const int row = RowOf(cell, &kind);
    if (restore && RowHoldsRecord(row) && ReadWord(s.pager.top() + row) == 0) ShowRecordCells(row, CurrentRecord);
}

// The cell takes the keys, all of its text selected, in the editing colour.
void StartEditing(HWND cell) {
    CellKind kind;
    if (!RowHoldsRecord(RowOf(cell, &kind))) return;
    if (s.editing != cell) EndEditing(true);
    s.editing = cell;
    InvalidateRect(cell, nullptr, TRUE);
    SetFocus(cell);
    Edit_SetSel(cell, 0, -1);
}

void EditRow(int row, CellKind kind) {
    if (!RowHoldsRecord(row)) return;
    const std::int32_t index = s.pager.top() + row;
    if (ReadWord(index) != 0) return;
    const bool deleted = IsDeleted(CurrentRecord);
    const std::string oldWord = CurrentRecord.word;
    SetWord(CurrentRecord, FieldText(s.words[row], CurrentPair->charset1, kMaxWordChars));
    SetTranslation(CurrentRecord, FieldText(s.translations[row], CurrentPair->charset2, kMaxTranslationChars));
    const bool stored = kind == CellKind::Word ? CurrentRecord.word[0] != '\0' : CurrentRecord.translation[0] != '\0';
    if (stored && !deleted) {
        WriteWord(index);
        // A changed word leaves the file out of order, from whichever cell it was stored.
        if (kind == CellKind::Word || oldWord != CurrentRecord.word) ModifiedFlag = 1;
    } else {
        MessageBeep(0xFFFFFFFF);
        if (deleted) {
            ShowCell(row, kind, Ui(UiKey::CreateListDeleted), UiCharset);
        } else {
            ReadWord(index);
            ShowCell(row, kind, kind == CellKind::Word ? CurrentRecord.word : CurrentRecord.translation,
                     kind == CellKind::Word ? CurrentPair->charset1 : CurrentPair->charset2);
        }
    }
    SetFocus(s.search);
}

void ToggleDeleted(int row) {
    if (!RowHoldsRecord(row)) return;
    const std::int32_t index = s.pager.top() + row;
    if (ReadWord(index) != 0) return;
    CurrentRecord.deleted = IsDeleted(CurrentRecord) ? 0 : 1;
    ShowRecordCells(row, CurrentRecord);
    WriteWord(index);
    ModifiedFlag = 1;
    SetFocus(s.search);
}

void CopyCell(HWND cell) {
    // A cell holds at most a translation's length.
    wchar_t text[kMaxTranslationChars + 1] = L"";
    GetWindowTextW(cell, text, static_cast<int>(std::size(text)));
    PutClipboardText(s.window, text);
}

// The clipboard's text goes in as it is, but no longer than the cell could store.
void PasteCell(HWND cell, CellKind kind) {
    std::wstring text;
    if (ClipboardText(s.window, kind == CellKind::Word ? kMaxWordChars : kMaxTranslationChars, text))
        SetWindowTextW(cell, text.c_str());
}

// The sound files of what a cell shows: its word's, or its translation pieces'.
std::vector<std::string> CellSounds(HWND cell, CellKind kind) {
    const std::string text =
        FieldText(cell, kind == CellKind::Word ? CurrentPair->charset1 : CurrentPair->charset2, kMaxTranslationChars);
    return kind == CellKind::Word ? WordSounds(CurrentPair->name1, text) : TranslationSounds(CurrentPair->name2, text);
}

void ShowCellMenu(HWND cell, int x, int y) {
    CellKind kind;
    const int row = RowOf(cell, &kind);
    if (row < 0) return;
    ReadWord(s.pager.top() + row);
    HMENU menu = RowHoldsRecord(row) && IsDeleted(CurrentRecord) ? s.deletedMenu.get() : s.liveMenu.get();
    const bool playable = !CellSounds(cell, kind).empty();
    for (HMENU m : {s.liveMenu.get(), s.deletedMenu.get()})
        EnableMenuItem(m, IDM_SEARCH_PLAY, MF_BYCOMMAND | (playable ? MF_ENABLED : MF_GRAYED));
    const int command =
        TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_LEFTALIGN, x, y - 10, 0, s.window, nullptr);
    switch (command) {
        case IDM_SEARCH_DELETE:
            ToggleDeleted(row);
            break;
        case IDM_SEARCH_COPY:
            CopyCell(cell);
            break;
        case IDM_SEARCH_PASTE:
            PasteCell(cell, kind);
            break;
        case IDM_SEARCH_PLAY:
            for (const std::string& file : CellSounds(cell, kind)) PlaySoundFile(file);
            break;
    }
}

// The cells take Enter (store the row) and the right button (their pop-up menu). In the
// compact layout a cell takes the focus only when asked to edit it, and Escape leaves it.
LRESULT CellProc(HWND cell, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR) {
    CellKind kind;
    switch (msg) {
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                EndEditing(false);
                const int row = RowOf(cell, &kind);
                if (row >= 0) EditRow(row, kind);
                return 0;
            }
            if (wParam == VK_ESCAPE && cell == s.editing) {
                EndEditing(true);
                SetFocus(s.search);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == '\r' || (s.compact && wParam == VK_ESCAPE)) return 0;
            break;
        case WM_SETFOCUS:
            if (TakesKeys(cell)) break;
            SetFocus(s.search);
            return 0;
        case WM_KILLFOCUS:
            // Another field of the window ends the edit; another window does not, so the
            // edit goes on when the user comes back.
            if (cell == s.editing && IsChild(s.window, reinterpret_cast<HWND>(wParam))) EndEditing(true);
            break;
        case WM_LBUTTONDOWN:
            if (!TakesKeys(cell)) return 0;
            break;
        case WM_LBUTTONDBLCLK:
            if (TakesKeys(cell)) break;
            StartEditing(cell);
            return 0;
        case WM_RBUTTONUP: {
            POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(cell, &p);
            ShowCellMenu(cell, p.x, p.y);
            return 0;
        }
        case WM_CONTEXTMENU:
            return 0;
    }
    return PassOn(cell, msg, wParam, lParam);
}

// The fonts of the current pair; the ones they replace are deleted by the caller once
// no field uses them any more.
void CreateFonts() {
    s.fonts.Create(*CurrentPair, 11, FW_NORMAL);
    Palette.charset = CurrentPair->charset1;
    Palette.language = CurrentPair->name1;
}

void CreateControls(HWND hwnd) {
    const int rows = s.rows, below = 23 * rows + 35;
    s.done = CreateButton(hwnd, IDC_SEARCH_DONE, UiKey::Done, 505, below, 100, 28);
    s.search = CreateEdit(hwnd, IDC_SEARCH_FIELD, 20, below, 215, 25, s.fonts.first.get());
    s.baseForm = CreateBaseFormLabel(hwnd, IDC_SEARCH_BASE_FORM, 245, below + 3, 255, 22, s.fonts.first.get());
    // The compact layout keeps only the rows.
    if (s.compact) {
        ShowWindow(s.done, SW_HIDE);
        ShowWindow(s.search, SW_HIDE);
        ShowWindow(s.baseForm, SW_HIDE);
    }
    for (int r = 0; r < rows; ++r) {
        const int y = s.compact ? 5 : 25 + 23 * r;
        s.words[r] = CreateRowField(hwnd, IDC_SEARCH_WORD_FIRST + r, s.compact ? 5 : 20, y, 215, kMaxWordChars,
                                    s.fonts.first.get());
        s.translations[r] = CreateRowField(hwnd, IDC_SEARCH_TRANSLATION_FIRST + r, s.compact ? 240 : 255, y,
                                           s.compact ? 250 : 350, kMaxTranslationChars, s.fonts.second.get());
        for (HWND cell : {s.words[r], s.translations[r]}) TakeOver(cell, CellProc);
    }
    s.scroll = CreatePageScrollBar(hwnd, IDC_SEARCH_SCROLL, s.compact ? 220 : 235, s.compact ? 5 : 25, 23 * rows);
}

// Only ever popped up, so its title shows nowhere.
HMENU CellMenu(UiKey deleteLabel) {
    HMENU bar = CreateMenu();
    AppendPopup(bar,
                Popup({{deleteLabel, IDM_SEARCH_DELETE},
                       {UiKey::SearchCopy, IDM_SEARCH_COPY},
                       {UiKey::SearchPaste, IDM_SEARCH_PASTE},
                       {UiKey::SearchPlay, IDM_SEARCH_PLAY}}),
                std::wstring());
    return bar;
}

HMENU MenuBar() {
    HMENU bar = CreateMenu();
    AppendPaletteMenu(bar, UiKey::SearchMenuCharset0, UiKey::SearchMenuCharset1, UiKey::SearchMenuCharset2);
    AppendPopup(bar,
                Popup({{UiKey::SearchMenuClipboard1, IDM_SEARCH_CLIP_ON, Settings.ClipSearch == 1},
                       {UiKey::SearchMenuClipboard2, IDM_SEARCH_CLIP_OFF, Settings.ClipSearch == 0}}),
                UiKey::SearchMenuClipboard0);
    // The compact layout counts as no rows.
    std::vector<MenuItem> sizes;
    for (int n = 0; n <= kMaxRows; ++n)
        sizes.push_back({std::to_wstring(n), IDM_SEARCH_SIZE_FIRST + n, n == (s.compact ? 0 : s.rows)});
    AppendPopup(bar, Popup({{.label = UiKey::SearchMenuWindowsize1, .submenu = Popup(sizes)}}),
                UiKey::SearchMenuWindowsize0);
    return bar;
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    SetMenu(hwnd, MenuBar());
    s.liveMenu.reset(CellMenu(UiKey::SearchDelRecord));
    s.deletedMenu.reset(CellMenu(UiKey::SearchResRecord));
    s.rebuilding = s.closing = false;
    s.editing = nullptr;
    s.offeredBase.clear();
    s.followBase = false;
    if (s.compact) s.editingBrush.reset(CreateSolidBrush(kEditingColour));
    CreateFonts();
    CreateControls(hwnd);
    OfferPalette(hwnd, s.search, CurrentPair->charset1, CurrentPair->name1);
    s.focusTarget = s.search;
    SetFocus(s.search);
    AttachSearchField(s.search, s.pager, s.compact ? [] { StartEditing(s.words[0]); } : std::function<void()>(),
                      GoToBaseForm);
    s.pager.Attach(s.scroll, s.rows, 10);
    s.pager.Reset();
    SetTopmost(hwnd, Settings.StayOnTop == 1);
    MoveToStoredPosition(hwnd, Settings.searchWindow);
    if (Settings.ClipSearch == 1) s.clipboard.Start(hwnd);
    return TRUE;
}

HBRUSH OnCtlColorEdit(HWND hwnd, HDC dc, HWND control, int) {
    if (control != s.editing) return FORWARD_WM_CTLCOLOREDIT(hwnd, dc, control, DefWindowProcW);
    SetBkColor(dc, kEditingColour);
    return s.editingBrush.get();
}

HBRUSH OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int) {
    if (control != s.baseForm) return FORWARD_WM_CTLCOLORSTATIC(hwnd, dc, control, DefWindowProcW);
    return BaseFormColours(hwnd, dc, control);
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawTopEdge(hwnd, dc);
    if (s.rows != 0) {
        SelectGuard font(dc, Fonts.SearchBoldFont);
        DrawShadowedText(dc, NameWide(CurrentPair->name1), {20, 5, 235, 30}, DT_SINGLELINE | DT_CENTER);
        DrawShadowedText(dc, NameWide(CurrentPair->name2), {255, 5, 605, 30}, DT_SINGLELINE | DT_CENTER);
    }
    EndPaint(hwnd, &ps);
}

void RunPendingSort() {
    if (!ModifiedFlag) return;
    RunSort();
    ModifiedFlag = 0;
}

void SwitchPair(HWND hwnd, int id) {
    RunPendingSort();
    if (!PairOfMenuId(id)) return;
    // The main window switches, as from its own language menu (check mark, selection saved,
    // store reopened, flags); this window then follows.
    SendMessageW(MainWindow, WM_COMMAND, static_cast<WPARAM>(id), 0);
    // The old fonts go only once no field uses them any more.
    const LanguageFonts old = std::move(s.fonts);
    CreateFonts();
    s.fonts.Apply(s.words, s.translations, s.rows, s.search);
    SetWindowFont(s.baseForm, s.fonts.first.get(), FALSE);
    // The label spoke of the old pair's words.
    s.offeredBase.clear();
    ShowBaseForm(s.baseForm, L"");
    SetFocus(s.search);
    if (Palette.shown) {
        OpenPalette();
        SetFocus(s.search);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    s.pager.Reset();
}

// The compact layout keeps the stored number of rows for the next normal one.
void Resize(HWND hwnd, int size) {
    Settings.searchwindowminimal = size == 0 ? 1 : 0;
    if (size != 0) Settings.searchwindowsize = size;
    s.rebuilding = true;
    ClosePalette();
    DestroyWindow(hwnd);
    if (!OpenSearchWindow()) {
        s.rebuilding = false;
        SecondaryWindowClosed();
    }
}

void SetClipSearch(HWND hwnd, bool on) {
    if ((Settings.ClipSearch == 1) == on) return;
    CheckMenuItem(GetMenu(hwnd), IDM_SEARCH_CLIP_ON, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(GetMenu(hwnd), IDM_SEARCH_CLIP_OFF, MF_BYCOMMAND | (on ? MF_UNCHECKED : MF_CHECKED));
    Settings.ClipSearch = on ? 1 : 0;
    if (on)
        s.clipboard.Start(hwnd);
    else
        s.clipboard.Stop();
}

// Done and the close box: the pending sort runs once, however often they are pressed meanwhile.
void OnClose(HWND hwnd) {
    if (s.closing) return;
    s.closing = true;
    CloseSearchWindow();
    DestroyWindow(hwnd);
}

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (control == s.search && code == EN_CHANGE) return IncrementalSearch();
    if (control == s.baseForm && code == STN_CLICKED) {
        if (GoToBaseForm()) SetFocus(s.search);
        return;
    }
    if (code == EN_SETFOCUS) {
        CellKind kind = CellKind::Word;
        if (control != s.search) RowOf(control, &kind);
        return FollowFocus(control, kind);
    }
    if (control && code != BN_CLICKED) return;
    switch (id) {
        case IDC_SEARCH_DONE:
            return OnClose(hwnd);
        case IDM_PALETTE_SHOW:
            return ShowPalette(true);
        case IDM_PALETTE_HIDE:
            return ShowPalette(false);
        case IDM_SEARCH_CLIP_ON:
            return SetClipSearch(hwnd, true);
        case IDM_SEARCH_CLIP_OFF:
            return SetClipSearch(hwnd, false);
    }
    if (id >= IDM_SEARCH_SIZE_FIRST && id <= IDM_SEARCH_SIZE_FIRST + kMaxRows)
        return Resize(hwnd, id - IDM_SEARCH_SIZE_FIRST);
    SwitchPair(hwnd, id);
}

void OnVScroll(HWND, HWND, UINT code, int position) { s.pager.Scroll(code, position); }

// A right click on the background offers the main window's language menu.
void OnRButtonUp(HWND hwnd, int x, int y, UINT) { PopUpLanguageMenu(hwnd, x, y); }

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.focusTarget); }

// Restored from minimized, the window itself gets the focus; the field should have it.
void OnSetFocus(HWND, HWND) {
    if (s.focusTarget) SetFocus(s.focusTarget);
}

// Copied text is looked up, as far as a search can use it: a copy of megabytes elsewhere
// must not stall the window.
void OnClipboardChanged(HWND hwnd) {
    std::wstring text;
    if (GetActiveWindow() != hwnd && ClipboardText(hwnd, kSearchFieldChars, text)) {
        s.followBase = true;
        SetWindowTextW(s.search, text.c_str());
        s.followBase = false;
        if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    }
}

void OnDestroy(HWND hwnd) {
    Settings.searchWindow = NormalPosition(hwnd);
    s.clipboard.Stop();
    s.liveMenu.reset();
    s.deletedMenu.reset();
    s.fonts.Reset();
    s.editing = nullptr;
    s.editingBrush.reset();
    Palette.target = nullptr;
    s.focusTarget = nullptr;
    s.window = nullptr;
    if (!s.rebuilding) SecondaryWindowClosed();
}

LRESULT CALLBACK SearchWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (s.clipboard.Handle(msg, wParam, lParam, OnClipboardChanged)) return 0;
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_CTLCOLOREDIT, OnCtlColorEdit);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_VSCROLL, OnVScroll);
        HANDLE_MSG(hwnd, WM_RBUTTONUP, OnRButtonUp);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_SETFOCUS, OnSetFocus);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenSearchWindow() {
    const bool firstInVisit = !s.rebuilding;
    if (firstInVisit) ModifiedFlag = 0;
    s.compact = Settings.searchwindowminimal == 1 ? 1 : 0;
    s.rows = s.compact ? 1 : ClampRows(Settings.searchwindowsize);
    if (!s.compact) Settings.searchwindowsize = s.rows;
    const int extra = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU);
    const int height = extra + (s.compact ? 23 + 20 : 23 * s.rows + 80);
    return OpenCentredWindow(kClassName, SearchWindowProc, CS_HREDRAW | CS_VREDRAW, Ui(UiKey::SearchCaption),
                             WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, s.compact ? 500 : 630, height);
}

void ForgetSearchWindow() { s.clipboard.Stop(); }

void CloseSearchWindow() {
    ClosePalette();
    RunPendingSort();
}
