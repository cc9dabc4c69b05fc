#include "ui/recorder_window.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <cstdio>
#include <iterator>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/lookup/recorder.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "record";

struct RecorderState {
    HWND window, start, skip, back, word, line, status;
    RecorderSequence sequence;
    Font wordFont, statusFont;
};

RecorderState s;

MCIERROR SendMciString(const char* command) { return mciSendStringA(command, nullptr, 0, nullptr); }

MciSender sendMci = SendMciString;

// Every failed command is reported over the recorder, which stays unclickable meanwhile.
// The error text is the system's, so it is asked for and shown as Unicode.
bool Mci(const std::string& command) {
    const MCIERROR error = sendMci(command.c_str());
    if (error == 0) return true;
    wchar_t text[1024] = L"";
    mciGetErrorStringW(error, text, static_cast<UINT>(std::size(text)));
    MessageBeep(MB_ICONEXCLAMATION);
    UiMessageBox(s.window, std::wstring(text), std::wstring(L"MCI Error"), MB_OK | MB_ICONWARNING);
    return false;
}

void WriteLine() {
    char line[200];
    std::snprintf(line, sizeof line, "%s %d %s %d", Ui(UiKey::RecordWord), static_cast<int>(s.sequence.Place() + 1),
                  Ui(UiKey::RecordOf), static_cast<int>(WordCount));
    SetWindowTextW(s.line, WideFromCharset(line, UiCharset).c_str());
}

void ShowEndOfList() { SetWindowTextW(s.word, UiWide(UiKey::RecordEndOfList).c_str()); }

void ShowStep() {
    ReadWord(s.sequence.Place());
    WriteLine();
    SetFieldText(s.word, CurrentRecord.word, CurrentPair->charset1);
    SetFocus(s.start);
}

void ShowPlace() { s.sequence.AtEnd() ? ShowEndOfList() : ShowStep(); }

void ShowRecording(bool on) {
    SetWindowTextW(s.start, UiWide(on ? UiKey::RecordStop : UiKey::RecordStart).c_str());
    SetWindowTextW(s.status, on ? UiWide(UiKey::RecordRecording).c_str() : L"");
    EnableWindow(s.skip, !on);
    EnableWindow(s.back, !on);
}

// A word that cannot name a file would be saved under another name, or not at all: it is
// passed over with a message.
void Start() {
    const TakeStart check = s.sequence.CheckTake(CurrentRecord.word);
    if (check == TakeStart::AtEnd) return;
    if (check == TakeStart::BadName) {
        const std::string text = std::string("\"") + CurrentRecord.word + "\" " +
                                 UiTextOr("RecordBadName",
                                          "cannot be the name of a file, so it cannot be recorded. "
                                          "The next word is shown.   ");
        UiMessageBox(s.window, text, Ui(UiKey::RecordCaption), MB_OK | MB_ICONWARNING);
        return ShowPlace();
    }
    ShowRecording(true);
    const TakeStart started = s.sequence.StartTake(Mci);
    if (started == TakeStart::NotOpened) UiMessageBox(s.window, "Can't open new sound   ", "Error", MB_OK);
    if (started != TakeStart::Started) ShowRecording(false);
}

void Stop() {
    const TakeEnd end = s.sequence.StopTake(CurrentPair->name1, CurrentRecord.word, Mci);
    ShowRecording(false);
    if (end == TakeEnd::Saved) return ShowPlace();
    if (end == TakeEnd::NotSaved)
        UiMessageBox(s.window,
                     UiTextOr("RecordNotSaved",
                              "The recording could not be saved. The earlier recording of this word is kept.   "),
                     Ui(UiKey::RecordCaption), MB_OK | MB_ICONWARNING);
    if (end == TakeEnd::Silent)
        UiMessageBox(s.window,
                     UiTextOr("RecordSilent",
                              "Nothing was heard, so nothing was kept: is a microphone connected and turned up? "
                              "The earlier recording of this word is kept.   "),
                     Ui(UiKey::RecordCaption), MB_OK | MB_ICONWARNING);
    SetFocus(s.start);
}

void StartOrStop() { s.sequence.Recording() ? Stop() : Start(); }

void Skip() {
    if (s.sequence.Skip()) ShowPlace();
}

void Back() {
    if (s.sequence.Back()) ShowStep();
}

// Enter, Space and Backspace on the start button go to the window instead, once per press:
// a held key repeats its key-down (bit 30 set), which would start and stop takes over the
// next words.
LRESULT StartProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR) {
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE || wParam == VK_BACK)) {
        if ((lParam & (1 << 30)) == 0)
            SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(IDC_RECORD_KEY, wParam), 0);
        return 0;
    }
    return PassOn(button, msg, wParam, lParam);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    s.wordFont.reset(CreateUiFont(22, FW_BOLD, "Times New Roman", CurrentPair->charset1));
    s.statusFont.reset(CreateUiFont(15, FW_NORMAL, "Times New Roman", 0));
    CreateButton(hwnd, IDC_RECORD_EXIT, UiKey::RecordExit, 635, 65, 100, 30);
    s.start = CreateButton(hwnd, IDC_RECORD_START, UiKey::RecordStart, 5, 65, 120, 30);
    s.skip = CreateButton(hwnd, IDC_RECORD_SKIP, UiKey::RecordSkip, 130, 65, 80, 30);
    s.back = CreateButton(hwnd, IDC_RECORD_BACK, UiKey::RecordBack, 215, 65, 80, 30);
    s.word = CreateLabel(hwnd, IDC_RECORD_TEXT, L"", 10, 10, 595, 40, s.wordFont.get());
    s.line = CreateLabel(hwnd, IDC_RECORD_TEXT, L"", 310, 80, 220, 20, Fonts.GuiFont);
    s.status = CreateLabel(hwnd, IDC_RECORD_TEXT, L"", 420, 75, 210, 40, s.statusFont.get());
    s.sequence = RecorderSequence(ReadLastRecord(CurrentPair->name1), WordCount);
    if (s.sequence.AtEnd()) {
        ShowEndOfList();
    } else {
        ReadWord(s.sequence.Place());
        SetFieldText(s.word, CurrentRecord.word, CurrentPair->charset1);
    }
    SetFocus(s.start);
    WriteLine();
    TakeOver(s.start, StartProc);
    platform::CreateDir("sound");
    platform::CreateDir(std::string("sound\\") + CurrentPair->name1);
    return TRUE;
}

void Close(HWND hwnd);

void OnCommand(HWND hwnd, int id, HWND, UINT code) {
    if (id == IDC_RECORD_KEY) {
        if (code == VK_SPACE) StartOrStop();
        if (code == VK_RETURN) Skip();
        if (code == VK_BACK) Back();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDC_RECORD_EXIT:
            return Close(hwnd);
        case IDC_RECORD_START:
            return StartOrStop();
        case IDC_RECORD_SKIP:
            return Skip();
        case IDC_RECORD_BACK:
            return Back();
    }
}

// The place is written while the window can still own the message that it was not.
void Close(HWND hwnd) {
    if (WriteLastRecord(CurrentPair->name1, s.sequence.Place()) != 0)
        UiMessageBox(hwnd,
                     UiTextOr("RecordPlaceNotSaved",
                              "The place reached in the word list could not be saved: next time the recorder "
                              "starts at another word.   "),
                     Ui(UiKey::RecordCaption), MB_OK | MB_ICONWARNING);
    DestroyWindow(hwnd);
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.start); }

// A recording under way is dropped: the device must not stay open under its alias.
void OnDestroy(HWND) {
    s.sequence.DropTake([](const std::string& command) { return sendMci(command.c_str()) == 0; });
    s.wordFont.reset();
    s.statusFont.reset();
    s.window = nullptr;
    SecondaryWindowClosed();
}

LRESULT CALLBACK RecorderWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorGrey);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_CLOSE, Close);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenRecorderWindow() {
    return OpenCentredWindow(kClassName, RecorderWindowProc, 0, Ui(UiKey::RecordCaption), WS_OVERLAPPEDWINDOW, 750,
                             130);
}

void SetRecorderMciSender(MciSender send) { sendMci = send ? send : SendMciString; }
