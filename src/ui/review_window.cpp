#include "ui/review_window.h"

#include <commctrl.h>
#include <windowsx.h>

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

struct ReviewState : AnsweringWindowState {
    HWND left;
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
    if (!right) return PlayPracticeSound("wrong.wav");
    if (!wasShown) PlayPracticeSound("right.wav");
    AskNext();
}

void ShowAnswer() {
    Log(s.run->Show());
    ShowTranslationAsAnswer(s, s.asked.translation);
}

void CreateControls(HWND hwnd) {
    AddAnswerFields(s, hwnd);
    AddFrameText(s, hwnd, UiWideOr("ReviewLeft", "Words left in this review:"), 10, 160);
    s.left = AddFrameText(s, hwnd, L"", 10, 175, IDC_REVIEW_LEFT);
    AddFrameText(s, hwnd, UiWideOr("ReviewKeys", "Ctrl+Return: right and easy"), 10, 205);
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
    s.run.emplace(review::ReviewQueue(s.memory, listWords, now, s.rules.dayOffsetMs, Settings.ReviewNewPerDay));
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

namespace {

struct DueToday {
    std::size_t due = 0, fresh = 0;
};

DueToday CountDueToday() {
    const std::int64_t now = ReviewClock();
    DueToday today;
    std::size_t& due = today.due;
    std::size_t& fresh = today.fresh;
    if (CurrentPair) {
        const review::ReplayRules rules = review::RulesFromSettings(LocalDayOffset(now));
        review::ReviewMemory memory;
        std::vector<std::string> listWords = ListWords();
        review::LoadPairMemory(review::ReviewFilesOf(*CurrentPair), rules, memory, &listWords);
        due = review::DueWords(memory, now, rules.dayOffsetMs).size();
        fresh = review::NewWords(memory, listWords, now, rules.dayOffsetMs, Settings.ReviewNewPerDay).size();
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
    std::wstring text = dueOnly ? UiWideOr("MainMenuReview", "")
                                : UiWideOr("MainMenuReviewDueNew", "&Review due words (%d due, %d new today)");
    for (std::size_t count : {due, fresh}) {
        const std::size_t at = text.find(L"%d");
        if (at != std::wstring::npos) text.replace(at, 2, std::to_wstring(count));
    }
    return text;
}
