#include "ui/review_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lookup/sounds.h"
#include "core/practice/practice.h"
#include "core/review/review_pair.h"
#include "core/review/review_queue.h"
#include "core/review/review_run.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "core/text/fixed_text.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/menus.h"
#include "ui/palette_window.h"
#include "ui/practice_layout.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "herhaal";
constexpr std::size_t kAnswerChars = 99;
// The answer field's notification codes for a checked answer: Return, and Ctrl+Return (Easy).
constexpr UINT kCheck = VK_RETURN, kCheckEasy = VK_CONTROL;

std::int64_t SystemNow() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const std::int64_t ticks = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks / 10000 - 11644473600000;  // 100 ns since 1601 to ms since 1970
}

struct ReviewState {
    HWND window, question, answer, progress, left, show;
    CentredLayout layout;
    LanguageFonts fonts;
    std::optional<review::PairReviewFiles> files;
    review::ReplayRules rules;
    review::ReviewMemory memory;
    std::optional<review::ReviewRun> run;
    std::size_t total;
    WordRecord asked;       // the word on show, as the word file has it
    std::int64_t askedAt;   // when it was put on show
    std::string lastWrong;  // the wrong answer last counted for the word on show
    bool logFailed;
};

ReviewState s;

// The pair's memory on the local day clock; no files when their paths are too long.
void LoadMemory(std::int64_t now) {
    s.files = review::ReviewFilesOf(*CurrentPair);
    s.rules = review::RulesFromSettings(LocalDayOffset(now));
    s.memory = {};
    if (s.files) review::LoadReviewMemory(s.files->log, s.files->state, s.rules, s.memory);
}

std::vector<std::string> ListWords() {
    std::vector<std::string> words;
    for (std::int32_t i = 0; i < ListCount; ++i)
        if (ReadListEntry(i) == 0 && !IsDeleted(CurrentRecord)) words.emplace_back(CurrentRecord.word);
    return words;
}

void Play(const char* sound) {
    if (Settings.PracticeSound == 1) PlaySoundFile(sound);
}

void ShowLeft() {
    SetWindowTextW(s.left, std::to_wstring(s.run->remaining()).c_str());
    SendMessageW(s.progress, PBM_SETPOS, static_cast<WPARAM>(s.total - s.run->remaining()), 0);
}

void Finish() {
    EnableWindow(s.show, FALSE);
    EnableWindow(s.answer, FALSE);
    ShowLeft();
    if (s.files) review::SaveReviewMemory(s.files->log, s.files->state, s.rules, s.memory);
    UiMessageBox(s.window, UiTextOr("ReviewDone", "No more words are due today.   "), Ui(UiKey::Dictionary), MB_OK);
}

// The next word that the word file still has; words it lost are passed over unrated.
void AskNext() {
    SetWindowTextW(s.answer, L"");
    s.lastWrong.clear();
    for (const std::string* word; (word = s.run->Current()) != nullptr; s.run->Drop()) {
        const std::int32_t index = FindWord(word->c_str());
        if (ReadWord(index) == 0 && !IsDeleted(CurrentRecord) && EqualsIgnoringAsciiCase(CurrentRecord.word, *word)) {
            s.asked = CurrentRecord;
            s.askedAt = ReviewClock();
            SetFieldText(s.question, s.asked.word, CurrentPair->charset1);
            EnableWindow(s.show, TRUE);
            ShowLeft();
            return;
        }
    }
    Finish();
}

void Log(std::optional<int> rating) {
    if (!rating || !s.files) return;
    const std::int64_t now = ReviewClock();
    if (review::LogReview(*s.files, s.rules, {now, s.asked.word, *rating, now - s.askedAt}, s.memory) == 0 ||
        s.logFailed)
        return;
    s.logFailed = true;  // said once; the run goes on
    UiMessageBox(s.window, UiTextOr("ReviewNotLogged", "The answer could not be written to the review log.   "),
                 Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
}

void CheckAnswer(bool easy) {
    const std::string token = AnswerToken(FieldText(s.answer, CurrentPair->charset2, kAnswerChars));
    if (token.empty()) return SetWindowTextW(s.answer, L""), void();
    const bool right = AnswerIsRight(token, s.asked.translation);
    // The same wrong answer checked again is still one answer given.
    if (!right && token == s.lastWrong) return;
    const bool wasShown = s.run->shown();
    Log(s.run->Answer(right, easy));
    if (!right) {
        s.lastWrong = token;
        return Play("wrong.wav");
    }
    if (!wasShown) Play("right.wav");
    AskNext();
}

void ShowAnswer() {
    Log(s.run->Show());
    SetFieldText(s.answer, s.asked.translation, CurrentPair->charset2);
    SetFocus(s.answer);
    const int end = GetWindowTextLengthW(s.answer);
    SendMessageW(s.answer, EM_SETSEL, static_cast<WPARAM>(end), end);
    Play("skipped.wav");
    EnableWindow(s.show, FALSE);
}

// Return checks, Ctrl+Return checks and rates a right answer Easy, Escape shows the
// answer while it may; neither key is typed. A held key checks once.
LRESULT CALLBACK AnswerProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        const UINT code = GetKeyState(VK_CONTROL) < 0 ? kCheckEasy : kCheck;
        if ((lParam & (1 << 30)) == 0)
            SendMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(IDC_PRACTICE_ANSWER, code), 0);
        return 0;
    }
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE && IsWindowEnabled(s.show)) {
        SendMessageW(GetParent(field), WM_COMMAND, IDC_PRACTICE_SHOW, 0);
        return 0;
    }
    if (msg == WM_CHAR && (wParam == '\r' || wParam == '\n')) return 0;
    return DefSubclassProc(field, msg, wParam, lParam);
}

HWND Text(HWND parent, const std::wstring& label, int x, int y) {
    return s.layout.Add(CreateLabel(parent, IDC_PRACTICE_TEXT, label, 0, 0, 210, 15, Fonts.GuiFont), x, y);
}

HMENU MenuBar() {
    HMENU bar = CreateMenu();
    AppendPaletteMenu(bar, UiKey::PracticeIAMenuCharset0, UiKey::PracticeIAMenuCharset1, UiKey::PracticeIAMenuCharset2);
    const bool on = Settings.PracticeSound == 1;
    AppendPopup(bar,
                Popup({{UiKey::PracticeIAMenuSound1, IDM_PRACTICE_SOUND_ON, on},
                       {UiKey::PracticeIAMenuSound2, IDM_PRACTICE_SOUND_OFF, !on}}),
                UiKey::PracticeIAMenuSound0);
    return bar;
}

void CreateControls(HWND hwnd) {
    s.question = s.layout.Add(
        CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 595, 40,
                        hwnd, reinterpret_cast<HMENU>(IDC_PRACTICE_TEXT), AppInstance, nullptr),
        0, 25);
    SetWindowFont(s.question, s.fonts.first.get(), FALSE);
    s.answer = s.layout.Add(
        CreateEdit(hwnd, IDC_PRACTICE_ANSWER, 0, 0, 595, 40, s.fonts.second.get(), WS_BORDER | ES_AUTOHSCROLL), 0, 100);
    s.progress = s.layout.Add(CreateWindowW(PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0, 330, 17,
                                            hwnd, reinterpret_cast<HMENU>(IDC_PRACTICE_PROGRESS), AppInstance, nullptr),
                              265, 155);
    s.layout.Add(CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDFRAME, 0, 0, 240, 77, hwnd,
                               reinterpret_cast<HMENU>(IDC_PRACTICE_FRAME), AppInstance, nullptr),
                 0, 155);
    Text(hwnd, UiWideOr("ReviewLeft", "Words left in this review:"), 10, 160);
    s.left = s.layout.Add(CreateLabel(hwnd, IDC_REVIEW_LEFT, L"", 0, 0, 210, 15, Fonts.GuiFont), 10, 175);
    Text(hwnd, UiWideOr("ReviewKeys", "Ctrl+Return: right and easy"), 10, 205);
    s.show = s.layout.Add(CreateButton(hwnd, IDC_PRACTICE_SHOW, UiKey::PracticeShow, 0, 0, 100, 30), 265, 202);
    s.layout.Add(CreateButton(hwnd, IDC_PRACTICE_QUIT, UiKey::Quit, 0, 0, 100, 30), 495, 202);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    SetMenu(hwnd, MenuBar());
    SetWindowTextW(hwnd, UiWideOr("ReviewCaption", "Review").c_str());
    s.fonts.Create(*CurrentPair, 22, FW_BOLD);
    s.layout = CentredLayout();
    CreateControls(hwnd);
    s.layout.Fit(hwnd);
    const std::int64_t now = ReviewClock();
    LoadMemory(now);
    s.run.emplace(review::ReviewQueue(s.memory, ListWords(), now, s.rules.dayOffsetMs, Settings.ReviewNewPerDay));
    s.total = s.run->remaining();
    s.logFailed = false;
    SendMessageW(s.progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(s.total));
    MoveToStoredPosition(hwnd, Settings.practiseWindow);
    SetWindowSubclass(s.answer, AnswerProc, 1, 0);
    SetFocus(s.answer);
    OfferPalette(hwnd, s.answer, CurrentPair->charset2, CurrentPair->name2);
    // The first word, or the message that there is none, once the window stands.
    PostMessageW(hwnd, WM_COMMAND, IDM_REVIEW_START, 0);
    return TRUE;
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawTopEdge(hwnd, dc);
    PaintLanguageHeadings(dc, s.layout.origin());
    EndPaint(hwnd, &ps);
}

void OnSize(HWND hwnd, UINT, int, int) { s.layout.Fit(hwnd); }

void SetSound(HWND hwnd, bool on) {
    CheckMenuItem(GetMenu(hwnd), IDM_PRACTICE_SOUND_ON, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(GetMenu(hwnd), IDM_PRACTICE_SOUND_OFF, MF_BYCOMMAND | (on ? MF_UNCHECKED : MF_CHECKED));
    Settings.PracticeSound = on ? 1 : 0;
}

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    switch (id) {
        case IDM_PALETTE_SHOW:
            return ShowPalette(true);
        case IDM_PALETTE_HIDE:
            return ShowPalette(false);
        case IDM_PRACTICE_SOUND_ON:
            return SetSound(hwnd, true);
        case IDM_PRACTICE_SOUND_OFF:
            return SetSound(hwnd, false);
        case IDM_REVIEW_START:
            return AskNext();
        case IDC_PRACTICE_QUIT:
            if (code == BN_CLICKED) DestroyWindow(hwnd);
            return;
        case IDC_PRACTICE_SHOW:
            if ((!control || code == BN_CLICKED) && s.run->Current()) ShowAnswer();
            return;
        case IDC_PRACTICE_ANSWER:
            if (!control && (code == kCheck || code == kCheckEasy) && s.run->Current()) CheckAnswer(code == kCheckEasy);
            return;
    }
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.answer); }

void OnDestroy(HWND hwnd) {
    ClosePalette();
    Palette.target = nullptr;
    Settings.practiseWindow = NormalPosition(hwnd);
    if (s.files) review::SaveReviewMemory(s.files->log, s.files->state, s.rules, s.memory);
    s.fonts.Reset();
    s.run.reset();
    s.memory = {};
    s.window = nullptr;
    SecondaryWindowClosed();
}

LRESULT CALLBACK ReviewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorGrey);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

std::int64_t (*ReviewClock)() = SystemNow;

std::int64_t LocalDayOffset(std::int64_t ms) {
    const std::int64_t ticks = (ms + 11644473600000) * 10000;
    FILETIME utc = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)}, local;
    if (!FileTimeToLocalFileTime(&utc, &local)) return 0;
    const std::int64_t localTicks = (static_cast<std::int64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    return (localTicks - ticks) / 10000;
}

HWND OpenReviewPractice() { return OpenPracticeWindow(kClassName, ReviewWindowProc); }

std::wstring ReviewMenuText() {
    const std::int64_t now = ReviewClock();
    std::optional<review::PairReviewFiles> files = CurrentPair ? review::ReviewFilesOf(*CurrentPair) : std::nullopt;
    std::size_t due = 0;
    if (files) {
        const review::ReplayRules rules = review::RulesFromSettings(LocalDayOffset(now));
        review::ReviewMemory memory;
        review::LoadReviewMemory(files->log, files->state, rules, memory);
        due = review::DueWords(memory, now, rules.dayOffsetMs).size();
    }
    std::wstring text = UiWideOr("MainMenuReview", "&Review due words (%d due today)");
    const std::size_t at = text.find(L"%d");
    if (at != std::wstring::npos) text.replace(at, 2, std::to_wstring(due));
    return text;
}
