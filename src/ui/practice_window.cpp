#include "ui/practice_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "core/catalogue/catalogue.h"
#include "core/lookup/sounds.h"
#include "core/store/store.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/gdi.h"
#include "ui/menus.h"
#include "ui/palette_window.h"
#include "ui/ui_text.h"

namespace {

constexpr std::size_t kAnswerChars = 99;

void SetSound(HWND hwnd, bool on) {
    CheckMenuItem(GetMenu(hwnd), IDM_PRACTICE_SOUND_ON, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(GetMenu(hwnd), IDM_PRACTICE_SOUND_OFF, MF_BYCOMMAND | (on ? MF_UNCHECKED : MF_CHECKED));
    Settings.PracticeSound = on ? 1 : 0;
}

// Return checks, Escape shows the answer while it may; Return is never typed. A held
// Return checks once: its repeated key-downs (bit 30 set) are not answers. With `easyKey`
// Ctrl+Return checks with its own code, and is not typed either.
LRESULT AnswerProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR easyKey) {
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        const UINT code = easyKey && GetKeyState(VK_CONTROL) < 0 ? kAnswerCheckedEasy : kAnswerChecked;
        if ((lParam & (1 << 30)) == 0)
            SendMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(IDC_PRACTICE_ANSWER, code), 0);
        return 0;
    }
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE && IsWindowEnabled(GetDlgItem(GetParent(field), IDC_PRACTICE_SHOW))) {
        SendMessageW(GetParent(field), WM_COMMAND, IDC_PRACTICE_SHOW, 0);
        return 0;
    }
    if (msg == WM_CHAR && (wParam == '\r' || (easyKey && wParam == '\n'))) return 0;
    return PassOn(field, msg, wParam, lParam);
}

}  // namespace

void StartPracticeWindow(PracticeWindowState& state, HWND hwnd) {
    state.window = hwnd;
    state.fonts.Create(*CurrentPair, 22, FW_BOLD);
    state.layout = CentredLayout();
}

HWND AddProgressBar(PracticeWindowState& state, HWND hwnd, int id, int x, int y) {
    return state.layout.Add(CreateWindowW(PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0, 330, 17, hwnd,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr),
                            x, y);
}

HWND AddFrame(PracticeWindowState& state, HWND hwnd, int id, int height, int x, int y) {
    return state.layout.Add(
        CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDFRAME, 0, 0, 240, height, hwnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr),
        x, y);
}

HMENU AnsweringMenuBar() {
    HMENU bar = CreateMenu();
    AppendPaletteMenu(bar, UiKey::PracticeIAMenuCharset0, UiKey::PracticeIAMenuCharset1, UiKey::PracticeIAMenuCharset2);
    const bool on = Settings.PracticeSound == 1;
    AppendPopup(bar,
                Popup({{UiKey::PracticeIAMenuSound1, IDM_PRACTICE_SOUND_ON, on},
                       {UiKey::PracticeIAMenuSound2, IDM_PRACTICE_SOUND_OFF, !on}}),
                UiKey::PracticeIAMenuSound0);
    return bar;
}

void AddAnswerFields(AnsweringWindowState& state, HWND hwnd) {
    state.question = state.layout.Add(
        CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 595, 40,
                        hwnd, reinterpret_cast<HMENU>(IDC_PRACTICE_TEXT), AppInstance, nullptr),
        0, 25);
    SetWindowFont(state.question, state.fonts.first.get(), FALSE);
    state.answer = state.layout.Add(
        CreateEdit(hwnd, IDC_PRACTICE_ANSWER, 0, 0, 595, 40, state.fonts.second.get(), WS_BORDER | ES_AUTOHSCROLL), 0,
        100);
    state.progress = AddProgressBar(state, hwnd, IDC_PRACTICE_PROGRESS, 265, 155);
    AddFrame(state, hwnd, IDC_PRACTICE_FRAME, 77, 0, 155);
}

HWND AddFrameText(AnsweringWindowState& state, HWND hwnd, const std::wstring& text, int x, int y, int id) {
    return state.layout.Add(CreateLabel(hwnd, id, text, 0, 0, 210, 15, Fonts.GuiFont), x, y);
}

void AddAnswerButtons(AnsweringWindowState& state, HWND hwnd) {
    state.show = state.layout.Add(CreateButton(hwnd, IDC_PRACTICE_SHOW, UiKey::PracticeShow, 0, 0, 100, 30), 265, 202);
    state.layout.Add(CreateButton(hwnd, IDC_PRACTICE_QUIT, UiKey::Quit, 0, 0, 100, 30), 495, 202);
}

void ReadyAnswerField(AnsweringWindowState& state, HWND hwnd, bool easyKey) {
    MoveToStoredPosition(hwnd, Settings.practiseWindow);
    TakeOver(state.answer, AnswerProc, easyKey ? 1 : 0);
    SetFocus(state.answer);
    OfferPalette(hwnd, state.answer, CurrentPair->charset2, CurrentPair->name2);
}

std::string TypedAnswer(const AnsweringWindowState& state) {
    return FieldText(state.answer, CurrentPair->charset2, kAnswerChars);
}

void PlayPracticeSound(const char* sound) {
    if (Settings.PracticeSound == 1) PlaySoundFile(sound);
}

void ShowTranslationAsAnswer(const AnsweringWindowState& state, const char* translation) {
    SetFieldText(state.answer, translation, CurrentPair->charset2);
    SetFocus(state.answer);
    const int end = GetWindowTextLengthW(state.answer);
    SendMessageW(state.answer, EM_SETSEL, static_cast<WPARAM>(end), end);
    PlayPracticeSound("skipped.wav");
    EnableWindow(state.show, FALSE);
}

void PaintAnsweringWindow(HWND hwnd, const AnsweringWindowState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawTopEdge(hwnd, dc);
    PaintLanguageHeadings(dc, state.layout.origin());
    EndPaint(hwnd, &ps);
}

bool OnAnsweringCommand(HWND hwnd, int id, UINT code) {
    switch (id) {
        case IDM_PALETTE_SHOW:
        case IDM_PALETTE_HIDE:
            ShowPalette(id == IDM_PALETTE_SHOW);
            return true;
        case IDM_PRACTICE_SOUND_ON:
        case IDM_PRACTICE_SOUND_OFF:
            SetSound(hwnd, id == IDM_PRACTICE_SOUND_ON);
            return true;
        case IDC_PRACTICE_QUIT:
            if (code == BN_CLICKED) DestroyWindow(hwnd);
            return true;
    }
    return false;
}

void LeaveAnsweringWindow() {
    ClosePalette();
    Palette.target = nullptr;
}
