#include "ui/interactive_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>
#include <optional>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/lookup/sounds.h"
#include "core/practice/practice.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
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

const char kClassName[] = "leren2";
constexpr std::size_t kAnswerChars = 99;

struct InteractiveState {
    HWND window, question, answer, progress, score, show;
    CentredLayout layout;
    std::optional<PracticePool> pool;
    std::int32_t count;
    Score run;
    std::int32_t right;
    std::optional<Score> stored;
    std::string lastWrong;  // the wrong answer last counted for the word on show
    LanguageFonts fonts;
};

InteractiveState s;

std::wstring ScoreLine(const Score& score) {
    char line[200];
    std::snprintf(line, sizeof line, "%s %d  -  %s %d", Ui(UiKey::PracticeSkipped), static_cast<int>(score.skipped),
                  Ui(UiKey::PracticeErrors), static_cast<int>(score.errors));
    return WideFromCharset(line, UiCharset);
}

void Play(const char* sound) {
    if (Settings.PracticeSound == 1) PlaySoundFile(sound);
}

void AskNext() {
    PickRandomEntry(*s.pool);
    SetWindowTextW(s.answer, L"");
    s.lastWrong.clear();
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
    const std::string typed = FieldText(s.answer, CurrentPair->charset2, kAnswerChars);
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
        Play("right.wav");
        AskNext();
    } else {
        // The same wrong answer checked again is still one answer given.
        if (token == s.lastWrong) return;
        s.lastWrong = token;
        ++s.run.errors;
        SetWindowTextW(s.score, ScoreLine(s.run).c_str());
        Play("wrong.wav");
    }
}

void ShowAnswer() {
    ++s.run.skipped;
    SetWindowTextW(s.score, ScoreLine(s.run).c_str());
    SetFieldText(s.answer, CurrentRecord.translation, CurrentPair->charset2);
    SetFocus(s.answer);
    const int end = GetWindowTextLengthW(s.answer);
    SendMessageW(s.answer, EM_SETSEL, static_cast<WPARAM>(end), end);
    Play("skipped.wav");
    EnableWindow(s.show, FALSE);
}

// Return checks, Escape shows the answer while it may; Return is never typed. A held
// Return checks once: its repeated key-downs (bit 30 set) are not answers.
LRESULT CALLBACK AnswerProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        if ((lParam & (1 << 30)) == 0)
            SendMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(IDC_PRACTICE_ANSWER, VK_RETURN), 0);
        return 0;
    }
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE && IsWindowEnabled(s.show)) {
        SendMessageW(GetParent(field), WM_COMMAND, IDC_PRACTICE_SHOW, 0);
        return 0;
    }
    if (msg == WM_CHAR && wParam == '\r') return 0;
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

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    SetMenu(hwnd, MenuBar());
    SetWindowTextW(hwnd, PracticeCaption().c_str());
    s.fonts.Create(*CurrentPair, 22, FW_BOLD);
    s.layout = CentredLayout();
    s.run = Score{};
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
    Text(hwnd, UiWide(UiKey::PracticeCurrentscore), 10, 160);
    s.score = Text(hwnd, L"", 10, 175);
    Text(hwnd, UiWide(UiKey::PracticeBestscore), 10, 195);
    HWND best = Text(hwnd, L"", 10, 210);
    s.show = s.layout.Add(CreateButton(hwnd, IDC_PRACTICE_SHOW, UiKey::PracticeShow, 0, 0, 100, 30), 265, 202);
    s.layout.Add(CreateButton(hwnd, IDC_PRACTICE_QUIT, UiKey::Quit, 0, 0, 100, 30), 495, 202);
    s.layout.Fit(hwnd);
    s.count = ListCount;
    SendMessageW(s.progress, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(s.count)));
    s.pool.emplace(s.count);
    s.right = 0;
    MoveToStoredPosition(hwnd, Settings.practiseWindow);
    SetWindowSubclass(s.answer, AnswerProc, 1, 0);
    SetFocus(s.answer);
    OfferPalette(hwnd, s.answer, CurrentPair->charset2, CurrentPair->name2);
    CurrentRecord.word[0] = CurrentRecord.translation[0] = '\0';
    AskNext();
    SetWindowTextW(s.score, ScoreLine(s.run).c_str());
    const std::optional<std::string> path = ScoreFilePath();
    s.stored = path ? ReadScore(*path) : std::nullopt;
    SetWindowTextW(best, s.stored ? ScoreLine(*s.stored).c_str() : UiWide(UiKey::PracticeNotavailable).c_str());
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
        case IDC_PRACTICE_QUIT:
            if (code == BN_CLICKED) DestroyWindow(hwnd);
            return;
        case IDC_PRACTICE_SHOW:
            if (!control || code == BN_CLICKED) ShowAnswer();
            return;
        case IDC_PRACTICE_ANSWER:
            if (!control && code == VK_RETURN) CheckAnswer();
            return;
    }
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.answer); }

void OnDestroy(HWND hwnd) {
    ClosePalette();
    Palette.target = nullptr;
    Settings.practiseWindow = NormalPosition(hwnd);
    s.fonts.Reset();
    s.pool.reset();
    s.window = nullptr;
    SecondaryWindowClosed();
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
