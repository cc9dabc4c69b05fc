// The dialog that asks before an import writes (IMPORTDIALOG): the question naming the
// file and the pair, what changes in the pair and in its reverse, the lines that cannot be
// imported and where the whole report is, the new words, and Import, Show report, Cancel.

#include "ui/import_dialog.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/exchange/exchange.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/ui_text.h"

namespace {

// A list box of a dictionary's half million words would take seconds to fill, and no one
// reads that far; the rest is counted on its last line.
constexpr std::size_t kNewWordsShown = 2000;

struct ImportDialogState {
    const ImportPlan* plan = nullptr;
    const std::wstring* fileName = nullptr;
    const std::wstring* reportPath = nullptr;
    const std::function<void()>* showReport = nullptr;
    LanguageFonts fonts;  // the words in the pair's first set, their translations in its second
    int itemHeight = 0;
};

ImportDialogState s;

std::wstring Counted(std::int64_t count, const char* oneKey, const char* one, const char* manyKey, const char* many) {
    return count == 1 ? UiWideOr(oneKey, one) : WithCounts(UiWideOr(manyKey, many), {count});
}

// "dutch - english: 2 new words, 1 word gets more translations". The reverse pair counts
// the translations it gains, not the words that gain them, and says so.
std::wstring ChangesText(const WordListDescriptor& pair, int added, int merged, bool reverse) {
    std::wstring text;
    if (added) text = Counted(added, "ImportDialogNewWord", "1 new word", "ImportDialogNewWords", "%d new words");
    if (added && merged) text += L", ";
    if (merged && !reverse)
        text += Counted(merged, "ImportDialogMoreTranslationsWord", "1 word gets more translations",
                        "ImportDialogMoreTranslationsWords", "%d words get more translations");
    if (merged && reverse)
        text += Counted(merged, "ImportDialogReverseMoreTranslation", "1 more translation for a word already there",
                        "ImportDialogReverseMoreTranslations", "%d more translations for words already there");
    if (text.empty()) text = UiWideOr("ImportDialogNoChange", "nothing changes");
    return PairNameWide(pair) + L": " + text + L".";
}

// The new words are the records the plan appended after the word file's own.
std::size_t FirstNewWord(const ImportPlan& plan) {
    return plan.forward.size() - std::min(plan.forward.size(), static_cast<std::size_t>(plan.report.added));
}

void FillNewWords(HWND list, const ImportPlan& plan) {
    const std::size_t first = FirstNewWord(plan), end = std::min(plan.forward.size(), first + kNewWordsShown);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = first; i < end; ++i) {
        const WordRecord& record = plan.forward[i];
        const std::wstring item = WideFromCharset(record.word, plan.pair->charset1) + L"\t" +
                                  WideFromCharset(record.translation, plan.pair->charset2);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (end < plan.forward.size()) {
        const std::wstring more = WithCounts(UiWideOr("ImportDialogMoreWords", "... and %d more"),
                                             {static_cast<std::int64_t>(plan.forward.size() - end)});
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(more.c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

// A text of the dialog and whether a gap goes before it.
struct Stacked {
    int id;
    std::wstring text;
    bool startsGroup;
};

// Each text as high as its lines, one under the other, with a gap before each group; a
// text left empty takes no room. The list of new words takes what is left above the
// buttons, and without new words the dialog ends under the texts.
void Arrange(HWND dialog, const std::vector<Stacked>& texts, bool hasNewWords) {
    RECT unit = {0, 0, 10, 7};  // the margin across and the gap down, in dialog units
    MapDialogRect(dialog, &unit);
    RECT client;
    GetClientRect(dialog, &client);
    const int left = unit.right, width = client.right - 2 * unit.right;
    WindowDc dc(dialog);
    SelectGuard font(dc, GetWindowFont(dialog));
    int y = unit.bottom;
    for (const Stacked& item : texts) {
        HWND text = GetDlgItem(dialog, item.id);
        SetWindowTextW(text, item.text.c_str());
        if (item.text.empty()) {
            ShowWindow(text, SW_HIDE);
            continue;
        }
        if (item.startsGroup) y += unit.bottom;
        RECT r = {0, 0, width, 0};
        const UINT lines = item.id == IDC_IMPORTDIALOG_REPORT_PATH ? DT_SINGLELINE : DT_WORDBREAK;
        DrawTextW(dc, item.text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | lines);
        MoveWindow(text, left, y, width, r.bottom, FALSE);
        y += r.bottom;
    }
    RECT button;
    GetWindowRect(GetDlgItem(dialog, IDOK), &button);
    MapWindowRect(nullptr, dialog, &button);
    HWND list = GetDlgItem(dialog, IDC_IMPORTDIALOG_WORDS);
    if (hasNewWords) {
        const int top = y + unit.bottom / 2;
        MoveWindow(list, left, top, width, std::max<int>(button.top - unit.bottom - top, s.itemHeight * 3), FALSE);
        return;
    }
    ShowWindow(list, SW_HIDE);
    const int shift = button.top - (y + 2 * unit.bottom);
    for (int id : {IDOK, IDC_IMPORTDIALOG_SHOW_REPORT, IDCANCEL}) {
        HWND b = GetDlgItem(dialog, id);
        RECT r;
        GetWindowRect(b, &r);
        MapWindowRect(nullptr, dialog, &r);
        MoveWindow(b, r.left, r.top - shift, r.right - r.left, r.bottom - r.top, FALSE);
    }
    RECT frame;  // centred as it was
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, frame.left, frame.top + shift / 2, frame.right - frame.left,
                 frame.bottom - frame.top - shift, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
    const ImportPlan& plan = *s.plan;
    const ImportReport& report = plan.report;
    const bool saved = !s.reportPath->empty(), hasNewWords = report.added > 0;
    SetWindowTextW(dialog, UiWideOr("ImportCaption", "Import words").c_str());
    const std::wstring pair = PairNameWide(*plan.pair);
    const std::vector<Stacked> texts = {
        {IDC_IMPORTDIALOG_QUESTION,
         WithTexts(UiWideOr("ImportDialogQuestion", "Import the words of %s into %s?"), {*s.fileName, pair}), false},
        {IDC_IMPORTDIALOG_FORWARD, ChangesText(*plan.pair, report.added, report.merged, false), true},
        {IDC_IMPORTDIALOG_BACKWARD,
         plan.reverse ? ChangesText(*plan.reverse, report.reverseAdded, report.reverseMerged, true) : L"", false},
        {IDC_IMPORTDIALOG_PROBLEMS, ImportProblemsText(report, saved), true},
        {IDC_IMPORTDIALOG_REPORT_PATH, report.problems.empty() ? L"" : *s.reportPath, false},
        {IDC_IMPORTDIALOG_WORDS_LABEL,
         hasNewWords ? WithTexts(UiWideOr("ImportDialogNewWordsLabel", "New words in %s:"), {pair}) : L"", true}};
    SetDlgItemTextW(dialog, IDOK, UiWideOr("ImportDialogImport", "&Import").c_str());
    SetDlgItemTextW(dialog, IDC_IMPORTDIALOG_SHOW_REPORT, UiWideOr("ImportDialogShowReport", "&Show report").c_str());
    SetUiText(dialog, IDCANCEL, UiKey::NewlistDialogCancel);
    EnableWindow(GetDlgItem(dialog, IDC_IMPORTDIALOG_SHOW_REPORT), saved);
    FillNewWords(GetDlgItem(dialog, IDC_IMPORTDIALOG_WORDS), plan);
    Arrange(dialog, texts, hasNewWords);
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;
}

void OnMeasureItem(HWND, MEASUREITEMSTRUCT* item) { item->itemHeight = static_cast<UINT>(s.itemHeight); }

// A word and its translation, each in its language's font; the line that counts the words
// not shown is in the dialog's.
void OnDrawItem(HWND, const DRAWITEMSTRUCT* item) {
    if (item->itemID == static_cast<UINT>(-1)) return;
    const LRESULT length = SendMessageW(item->hwndItem, LB_GETTEXTLEN, item->itemID, 0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT got = SendMessageW(item->hwndItem, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    HDC dc = item->hDC;
    FillRect(dc, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    RECT r = item->rcItem;
    r.left += 3;
    constexpr UINT kFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    const std::size_t tab = text.find(L'\t');
    if (tab == std::wstring::npos) {
        SelectGuard font(dc, GetWindowFont(item->hwndItem));
        DrawTextW(dc, text.c_str(), -1, &r, kFormat);
        return;
    }
    // Words have at most 30 letters and translations 50: the word gets two fifths.
    const int column = r.left + (r.right - r.left) * 2 / 5;
    RECT word = {r.left, r.top, column - 6, r.bottom}, translation = {column, r.top, r.right - 3, r.bottom};
    SelectGuard font(dc, s.fonts.first.get());
    DrawTextW(dc, text.c_str(), static_cast<int>(tab), &word, kFormat);
    font.Select(s.fonts.second.get());
    DrawTextW(dc, text.c_str() + tab + 1, -1, &translation, kFormat);
}

void OnCommand(HWND dialog, int id, HWND, UINT) {
    if (id == IDC_IMPORTDIALOG_SHOW_REPORT && !s.reportPath->empty()) (*s.showReport)();
    if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
}

INT_PTR CALLBACK ImportDialogProc(HWND hwndDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            return SetDlgMsgResult(hwndDlg, msg, HANDLE_WM_INITDIALOG(hwndDlg, wParam, lParam, OnInitDialog));
        case WM_MEASUREITEM:
            HANDLE_WM_MEASUREITEM(hwndDlg, wParam, lParam, OnMeasureItem);
            return TRUE;
        case WM_DRAWITEM:
            HANDLE_WM_DRAWITEM(hwndDlg, wParam, lParam, OnDrawItem);
            return TRUE;
        case WM_COMMAND:
            HANDLE_WM_COMMAND(hwndDlg, wParam, lParam, OnCommand);
            return TRUE;
    }
    return FALSE;
}

// The list's rows are measured before the dialog is told it opens: the fonts come first.
int ItemHeight(const LanguageFonts& fonts) {
    WindowDc dc(nullptr);
    TEXTMETRICW metrics;
    int height = 0;
    for (HFONT font : {fonts.first.get(), fonts.second.get()}) {
        SelectGuard selected(dc, font);
        GetTextMetricsW(dc, &metrics);
        height = std::max<int>(height, metrics.tmHeight);
    }
    return height + 2;
}

}  // namespace

std::wstring ImportProblemsText(const ImportReport& report, bool reportSaved) {
    std::int64_t lines = 0;
    int last = -1;
    for (const ImportProblem problem : report.problems) {
        lines += problem.line != last;
        last = problem.line;
    }
    if (!lines) return {};
    std::wstring text =
        Counted(lines, "ImportDialogProblemLine", "1 line of the file cannot be imported, or only in part.",
                "ImportDialogProblemLines", "%d lines of the file cannot be imported, or only in part.");
    if (reportSaved) text += L" " + UiWideOr("ImportDialogReportWhere", "The whole report is in:");
    return text;
}

bool ConfirmImport(HWND owner, const ImportPlan& plan, const std::wstring& fileName, const std::wstring& reportPath,
                   const std::function<void()>& showReport) {
    s = ImportDialogState{&plan, &fileName, &reportPath, &showReport, {}, 0};
    s.fonts.Create(*plan.pair, 10, FW_NORMAL);
    s.itemHeight = ItemHeight(s.fonts);
    const INT_PTR answer = DialogBoxW(AppInstance, L"IMPORTDIALOG", owner, ImportDialogProc);
    s = ImportDialogState{};
    return answer == IDOK;
}
