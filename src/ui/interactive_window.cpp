#include "ui/interactive_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>
#include <optional>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/practice/practice.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/practice_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "leren2";

struct InteractiveState : AnsweringWindowState {
    HWND score;
    std::optional<PracticePool> pool;
    std::int32_t count;
    Score run;
    std::int32_t right;
    std::optional<Score> stored;
};

InteractiveState s;

std::wstring ScoreLine(const Score& score) {
    char line[200];
    std::snprintf(line, sizeof line, "%s %d  -  %s %d", Ui(UiKey::PracticeSkipped), static_cast<int>(score.skipped),
                  Ui(UiKey::PracticeErrors), static_cast<int>(score.errors));
    return WideFromCharset(line, UiCharset);
}

void AskNext() {
    PickRandomEntry(*s.pool);
    SetWindowTextW(s.answer, L"");
    SetFieldText(s.question, CurrentRecord.word, CurrentPair->charset1);
    EnableWindow(s.show, TRUE);
}

void Finish() {
    EnableWindow(s.show, FALSE);
    EnableWindow(s.answer, FALSE);
    SendMessageW(s.progress, PBM_SETPOS, static_cast<WPARAM>(s.count - s.pool->remaining()), 0);
    if (BeatsStoredScore(s.run, s.stored))
        if (const std::optional<std::string> path = ScoreFilePath(); path && WriteScore(*path, s.run) != 0)
            UiMessageBox(s.window, UiTextOr("PracticeScoreNotSaved", "The new best score could not be saved.   "),
                         Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
    UiMessageBox(s.window, Ui(UiKey::PracticeEndlist), Ui(UiKey::Dictionary), MB_OK);
}

void CheckAnswer() {
    const std::string typed = TypedAnswer(s);
    if (typed.empty()) return;
    const std::string token = AnswerToken(typed);
    if (token.empty()) {
        SetWindowTextW(s.answer, L"");
        return;
    }
    if (AnswerIsRight(token, CurrentRecord.translation)) {
        if (++s.right >= s.count) return Finish();
        SendMessageW(s.progress, PBM_SETPOS, static_cast<WPARAM>(s.count - s.pool->remaining()), 0);
        SetWindowTextW(s.score, ScoreLine(s.run).c_str());
        PlayPracticeSound("right.wav");
        AskNext();
    } else {
        // Every wrong answer checked counts, the same one given again too; a held Return
        // checks only once (the answer field's key handling).
        ++s.run.errors;
        SetWindowTextW(s.score, ScoreLine(s.run).c_str());
        PlayPracticeSound("wrong.wav");
    }
}

void ShowAnswer() {
    ++s.run.skipped;
    SetWindowTextW(s.score, ScoreLine(s.run).c_str());
    ShowTranslationAsAnswer(s, CurrentRecord.translation);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    StartPracticeWindow(s, hwnd);
    SetMenu(hwnd, AnsweringMenuBar());
    SetWindowTextW(hwnd, PracticeCaption().c_str());
    s.run = Score{};
    AddAnswerFields(s, hwnd);
    AddFrameText(s, hwnd, UiWide(UiKey::PracticeCurrentscore), 10, 160);
    s.score = AddFrameText(s, hwnd, L"", 10, 175);
    AddFrameText(s, hwnd, UiWide(UiKey::PracticeBestscore), 10, 195);
    HWND best = AddFrameText(s, hwnd, L"", 10, 210);
    AddAnswerButtons(s, hwnd);
    s.layout.Fit(hwnd);
    s.count = ListCount;
    SendMessageW(s.progress, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(s.count)));
    s.pool.emplace(s.count);
    s.right = 0;
    ReadyAnswerField(s, hwnd, false);
    CurrentRecord.word[0] = CurrentRecord.translation[0] = '\0';
    AskNext();
    SetWindowTextW(s.score, ScoreLine(s.run).c_str());
    const std::optional<std::string> path = ScoreFilePath();
    s.stored = path ? ReadScore(*path) : std::nullopt;
    SetWindowTextW(best, s.stored ? ScoreLine(*s.stored).c_str() : UiWide(UiKey::PracticeNotavailable).c_str());
    return TRUE;
}

void OnPaint(HWND hwnd) { PaintAnsweringWindow(hwnd, s); }

void OnSize(HWND hwnd, UINT, int, int) { s.layout.Fit(hwnd); }

void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (OnAnsweringCommand(hwnd, id, code)) return;
    switch (id) {
        case IDC_PRACTICE_SHOW:
            if (!control || code == BN_CLICKED) ShowAnswer();
            return;
        case IDC_PRACTICE_ANSWER:
            if (!control && code == kAnswerChecked) CheckAnswer();
            return;
    }
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.answer); }

void OnDestroy(HWND hwnd) {
    LeaveAnsweringWindow();
    EndPracticeWindow(s, hwnd);
}

LRESULT CALLBACK InteractiveWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
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

// The window stands a little above the centre of the screen.
HWND OpenInteractivePractice() {
    HWND hwnd = OpenPracticeWindow(kClassName, InteractiveWindowProc);
    if (hwnd && !Settings.practiseWindow.Known()) {
        const int top =
            (GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYCAPTION) - GetSystemMetrics(SM_CYMENU) - 350) / 2;
        RECT r;
        GetWindowRect(hwnd, &r);
        SetWindowPos(hwnd, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return hwnd;
}
