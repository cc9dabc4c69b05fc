#include "ui/review_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
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
#include "ui/practice_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "herhaal";

std::int64_t SystemNow() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const std::int64_t ticks = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks / 10000 - 11644473600000;  // 100 ns since 1601 to ms since 1970
}

// How the last answer went, as the line under the progress bar tells it: a learner with the
// sound off sees it there, and a wrong answer also tints its field.
enum class Verdict { None, Wrong, Shown, Right };

constexpr COLORREF kWrongText = RGB(192, 0, 0), kWrongField = RGB(255, 225, 225);
constexpr COLORREF kRightText = RGB(0, 120, 0), kShownText = RGB(0, 0, 160);
// A right answer's line stays this long: the next word is asked at once, and the line would
// soon seem to speak of it.
constexpr UINT kRightLineMs = 3000;
constexpr UINT_PTR kRightLineTimer = 1;

// The line for a right answer by when the word comes back, in the order of ComingBack::Unit.
const struct {
    const char* key;
    const char* builtIn;
} kComingBackTexts[] = {
    {"ReviewRightTomorrow", "Right! Next review tomorrow."},
    {"ReviewRightDays", "Right! Next review in %d days."},
    {"ReviewRightMonths", "Right! Next review in %d months."},
    {"ReviewRightYears", "Right! Next review in %d years."},
};

struct ReviewState : AnsweringWindowState {
    HWND left, verdictLine;
    Font verdictFont;
    Brush wrongField;
    Verdict verdict;
    std::optional<review::PairReviewFiles> files;
    review::ReplayRules rules;
    review::ReviewMemory memory;
    std::optional<review::ReviewRun> run;
    std::size_t total;
    WordRecord asked;      // the word on show, as the word file has it
    std::int64_t askedAt;  // when it was put on show
    bool logFailed;
};

ReviewState s;

std::vector<std::string> ListWords() {
    std::vector<std::string> words;
    for (std::int32_t i = 0; i < ListCount; ++i)
        if (ReadListEntry(i) == 0 && !IsDeleted(CurrentRecord)) words.emplace_back(CurrentRecord.word);
    return words;
}

// The pair's memory on the local day clock (no files when their paths are too long), and the
// words of the practice list, both as far as the word file still holds them.
void LoadMemory(std::int64_t now, std::vector<std::string>& listWords) {
    s.files = review::ReviewFilesOf(*CurrentPair);
    s.rules = review::RulesFromSettings(LocalDayOffset(now));
    listWords = ListWords();
    review::LoadPairMemory(s.files, s.rules, s.memory, &listWords);
}

void ShowLeft() {
    SetWindowTextW(s.left, std::to_wstring(s.run->remaining()).c_str());
    SendMessageW(s.progress, PBM_SETPOS, static_cast<WPARAM>(s.total - s.run->remaining()), 0);
}

void SetVerdict(Verdict verdict, const std::wstring& text) {
    s.verdict = verdict;
    SetWindowTextW(s.verdictLine, text.c_str());
    InvalidateRect(s.answer, nullptr, TRUE);
    if (verdict == Verdict::Right)
        SetTimer(s.window, kRightLineTimer, kRightLineMs, nullptr);
    else
        KillTimer(s.window, kRightLineTimer);
}

// Right, and when the word comes back by its memory now; without a logged answer, just right.
std::wstring RightLine(const char* word) {
    const review::WordMemory* w = s.memory.Find(word);
    const std::optional<review::ComingBack> back =
        w ? review::ComesBackIn(w->card, ReviewClock(), s.rules.dayOffsetMs) : std::nullopt;
    if (!back) return UiWideOr("ReviewRight", "Right!");
    const auto& text = kComingBackTexts[static_cast<int>(back->unit)];
    return WithCounts(UiWideOr(text.key, text.builtIn), {back->count});
}

// What the run did, and whether the learner would close the window now.
bool AskToCloseAfterSummary() {
    const review::RunTally& t = s.run->tally();
    const std::int32_t tomorrow = review::DueTomorrow(s.memory, ReviewClock(), s.rules.dayOffsetMs);
    std::wstring text = UiWideOr("ReviewSummary", "This review is finished.") + L"\n\n";
    text += WithCounts(UiWideOr("ReviewSummaryReviewed", "Words reviewed: %d"), {t.reviewed}) + L"\n";
    text += WithCounts(UiWideOr("ReviewSummaryRightAtOnce", "Right at the first try: %d"), {t.rightAtOnce}) + L"\n";
    text += WithCounts(UiWideOr("ReviewSummaryNewLearnt", "New words learnt: %d"), {t.newLearnt}) + L"\n";
    text += WithCounts(UiWideOr("ReviewSummaryDueTomorrow", "Due tomorrow: %d"), {tomorrow}) + L"\n\n";
    text += UiWideOr("ReviewSummaryClose", "Close the review window?   ");
    return UiMessageBox(s.window, text, UiWide(UiKey::Dictionary), MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void Finish() {
    EnableWindow(s.show, FALSE);
    EnableWindow(s.answer, FALSE);
    ShowLeft();
    if (s.files) review::SaveReviewMemory(s.files->log, s.files->state, s.rules, s.memory);
    if (s.run->tally().reviewed == 0)
        UiMessageBox(s.window, UiTextOr("ReviewDone", "No more words are due today.   "), Ui(UiKey::Dictionary), MB_OK);
    // Posted: this runs inside the answer field's key handling, which must not lose its window.
    else if (AskToCloseAfterSummary())
        PostMessageW(s.window, WM_CLOSE, 0, 0);
}

// The next word that the word file still has; words it lost are passed over unrated.
void AskNext() {
    SetWindowTextW(s.answer, L"");
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
    const std::string token = AnswerToken(TypedAnswer(s));
    if (token.empty()) return SetWindowTextW(s.answer, L""), void();
    const bool right = AnswerIsRight(token, s.asked.translation);
    const bool wasShown = s.run->shown();
    // Only a word's first answer is rated: a wrong one given again logs nothing more, but
    // sounds as it does in interactive practice.
    Log(s.run->Answer(right, easy));
    if (!right) {
        SetVerdict(Verdict::Wrong, UiWideOr("ReviewWrong", "Wrong, try again."));
        return PlayPracticeSound("wrong.wav");
    }
    // Told before the next word is asked: the last one may bring the summary.
    if (wasShown) {
        SetVerdict(Verdict::None, L"");
    } else {
        SetVerdict(Verdict::Right, RightLine(s.asked.word));
        PlayPracticeSound("right.wav");
    }
    AskNext();
}

void ShowAnswer() {
    Log(s.run->Show());
    ShowTranslationAsAnswer(s, s.asked.translation);
    SetVerdict(Verdict::Shown, UiWideOr("ReviewShownNext", "Return: next word"));
}

void CreateControls(HWND hwnd) {
    AddAnswerFields(s, hwnd);
    AddFrameText(s, hwnd, UiWideOr("ReviewLeft", "Words left in this review:"), 10, 160);
    s.left = AddFrameText(s, hwnd, L"", 10, 175, IDC_REVIEW_LEFT);
    AddFrameText(s, hwnd, UiWideOr("ReviewKeys", "Ctrl+Return: right and easy"), 10, 205);
    s.verdictFont.reset(CreateUiFont(Settings.guifontsize, FW_BOLD, Settings.guifont.c_str(), UiCharset));
    s.verdictLine = s.layout.Add(
        CreateLabel(hwnd, IDC_REVIEW_VERDICT, L"", 0, 0, 330, 20, s.verdictFont ? s.verdictFont.get() : Fonts.GuiFont),
        265, 177);
    s.wrongField.reset(CreateSolidBrush(kWrongField));
    AddAnswerButtons(s, hwnd);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    StartPracticeWindow(s, hwnd);
    SetMenu(hwnd, AnsweringMenuBar());
    SetWindowTextW(hwnd, UiWideOr("ReviewCaption", "Review").c_str());
    CreateControls(hwnd);
    s.layout.Fit(hwnd);
    const std::int64_t now = ReviewClock();
    std::vector<std::string> listWords;
    LoadMemory(now, listWords);
    review::QueuedWords queue =
        review::ReviewQueue(s.memory, listWords, now, s.rules.dayOffsetMs, Settings.ReviewNewPerDay);
    s.run.emplace(queue.due, queue.fresh);
    s.total = s.run->remaining();
    s.logFailed = false;
    SendMessageW(s.progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(s.total));
    ReadyAnswerField(s, hwnd, true);
    // The first word, or the message that there is none, once the window stands.
    PostMessageW(hwnd, WM_COMMAND, IDM_REVIEW_START, 0);
    return TRUE;
}

void OnPaint(HWND hwnd) { PaintAnsweringWindow(hwnd, s); }

void OnSize(HWND hwnd, UINT, int, int) { s.layout.Fit(hwnd); }

COLORREF VerdictColour(Verdict verdict) {
    switch (verdict) {
        case Verdict::Wrong:
            return kWrongText;
        case Verdict::Right:
            return kRightText;
        default:
            return kShownText;
    }
}

HBRUSH OnCtlColorStatic(HWND hwnd, HDC dc, HWND control, int type) {
    if (control == s.verdictLine) SetTextColor(dc, VerdictColour(s.verdict));
    return OnCtlColorGrey(hwnd, dc, control, type);
}

HBRUSH OnCtlColorEdit(HWND hwnd, HDC dc, HWND control, int) {
    if (control != s.answer || s.verdict != Verdict::Wrong || !s.wrongField)
        return FORWARD_WM_CTLCOLOREDIT(hwnd, dc, control, DefWindowProcW);
    SetBkColor(dc, kWrongField);
    return s.wrongField.get();
}

void OnTimer(HWND, UINT id) {
    if (id == kRightLineTimer && s.verdict == Verdict::Right) SetVerdict(Verdict::None, L"");
}

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (OnAnsweringCommand(hwnd, id, code)) return;
    switch (id) {
        case IDM_REVIEW_START:
            return AskNext();
        case IDC_PRACTICE_SHOW:
            if ((!control || code == BN_CLICKED) && s.run->Current()) ShowAnswer();
            return;
        case IDC_PRACTICE_ANSWER:
            if (!control && (code == kAnswerChecked || code == kAnswerCheckedEasy) && s.run->Current())
                CheckAnswer(code == kAnswerCheckedEasy);
            return;
    }
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.answer); }

void OnDestroy(HWND hwnd) {
    LeaveAnsweringWindow();
    if (s.files) review::SaveReviewMemory(s.files->log, s.files->state, s.rules, s.memory);
    EndPracticeWindow(s, hwnd);
}

LRESULT CALLBACK ReviewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_CTLCOLOREDIT, OnCtlColorEdit);
        HANDLE_MSG(hwnd, WM_TIMER, OnTimer);
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

namespace {

struct DueToday {
    std::size_t due = 0, fresh = 0;
};

DueToday CountDueToday() {
    const std::int64_t now = ReviewClock();
    DueToday today;
    if (CurrentPair) {
        const review::ReplayRules rules = review::RulesFromSettings(LocalDayOffset(now));
        review::ReviewMemory memory;
        std::vector<std::string> listWords = ListWords();
        review::LoadPairMemory(review::ReviewFilesOf(*CurrentPair), rules, memory, &listWords);
        today.due = review::DueWords(memory, now, rules.dayOffsetMs).size();
        today.fresh = review::NewWords(memory, listWords, now, rules.dayOffsetMs, Settings.ReviewNewPerDay).size();
    }
    return today;
}

}  // namespace

std::size_t ReviewWordsToday() {
    const DueToday today = CountDueToday();
    return today.due + today.fresh;
}

std::wstring ReviewMenuText() {
    const auto [due, fresh] = CountDueToday();
    // A strings file older than the count of new words still gives the text in its language.
    const bool dueOnly = !UiTextOr("MainMenuReviewDueNew", nullptr) && UiTextOr("MainMenuReview", nullptr);
    return WithCounts(dueOnly ? UiWideOr("MainMenuReview", "")
                              : UiWideOr("MainMenuReviewDueNew", "&Review due words (%d due, %d new today)"),
                      {static_cast<std::int64_t>(due), static_cast<std::int64_t>(fresh)});
}
