#include "ui/recorder_window.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/lookup/sounds.h"
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
    std::int32_t position;
    bool recording;
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
    std::snprintf(line, sizeof line, "%s %d %s %d", Ui(UiKey::RecordWord), static_cast<int>(s.position + 1),
                  Ui(UiKey::RecordOf), static_cast<int>(WordCount));
    SetWindowTextW(s.line, WideFromCharset(line, UiCharset).c_str());
}

void ShowEnd() { SetWindowTextW(s.word, UiWide(UiKey::RecordEndOfList).c_str()); }

void ShowStep() {
    ReadWord(s.position);
    WriteLine();
    SetFieldText(s.word, CurrentRecord.word, CurrentPair->charset1);
    SetFocus(s.start);
}

// The position stops at the end of the list, so that back always returns to its last word.
void Advance() {
    s.position = std::min(s.position + 1, WordCount);
    if (s.position >= WordCount) return ShowEnd();
    ShowStep();
}

void SetRecording(bool on) {
    s.recording = on;
    SetWindowTextW(s.start, UiWide(on ? UiKey::RecordStop : UiKey::RecordStart).c_str());
    SetWindowTextW(s.status, on ? UiWide(UiKey::RecordRecording).c_str() : L"");
    EnableWindow(s.skip, !on);
    EnableWindow(s.back, !on);
}

// A word that cannot name a file would be saved under another name, or not at all: it is
// passed over with a message before anything is recorded. A take that did not start is
// dropped at once, so it can never be saved over the word's earlier recording.
void Start() {
    if (s.position >= WordCount) return;
    if (!CanNameSoundFile(CurrentRecord.word)) {
        const std::string text = std::string("\"") + CurrentRecord.word + "\" " +
                                 UiTextOr("RecordBadName",
                                          "cannot be the name of a file, so it cannot be recorded. "
                                          "The next word is shown.   ");
        UiMessageBox(s.window, text, Ui(UiKey::RecordCaption), MB_OK | MB_ICONWARNING);
        return Advance();
    }
    SetRecording(true);
    if (!Mci("open new type waveaudio alias mysound")) {
        UiMessageBox(s.window, "Can't open new sound   ", "Error", MB_OK);
        return SetRecording(false);
    }
    if (!Mci("record mysound")) {
        Mci("close mysound");
        return SetRecording(false);
    }
}

// The take goes to a name beside the word's file and takes its place only when it was
// saved whole; otherwise the earlier recording stays and the word stays on show.
void Stop() {
    const std::optional<std::string> file = SoundFileName(CurrentPair->name1, CurrentRecord.word);
    const std::string temporary = file ? *file + ".tmp" : std::string();
    const bool stopped = Mci("stop mysound");
    const bool saved = file && Mci("save mysound \"" + temporary + "\"");
    Mci("close mysound");
    SetRecording(false);
    if (stopped && saved && platform::MoveIntoPlace(temporary, *file) == 0) return Advance();
    if (file) platform::RemoveFile(temporary);
    // A failed MCI step has been reported already; a failed move has not.
    if (saved || !file)
        UiMessageBox(s.window,
                     UiTextOr("RecordNotSaved",
                              "The recording could not be saved. The earlier recording of this word is kept.   "),
                     Ui(UiKey::RecordCaption), MB_OK | MB_ICONWARNING);
    SetFocus(s.start);
}

void StartOrStop() { s.recording ? Stop() : Start(); }

void Skip() {
    if (!s.recording) Advance();
}

void Back() {
    if (s.recording) return;
    if (s.position > 0) --s.position;
    ShowStep();
}

// Enter, Space and Backspace on the start button go to the window instead, once per press:
// a held key repeats its key-down (bit 30 set), which would start and stop takes over the
// next words.
LRESULT CALLBACK StartProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE || wParam == VK_BACK)) {
        if ((lParam & (1 << 30)) == 0)
            SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(IDC_RECORD_KEY, wParam), 0);
        return 0;
    }
    return DefSubclassProc(button, msg, wParam, lParam);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    s.window = hwnd;
    s.recording = false;
    s.wordFont.reset(CreateUiFont(22, FW_BOLD, "Times New Roman", CurrentPair->charset1));
    s.statusFont.reset(CreateUiFont(15, FW_NORMAL, "Times New Roman", 0));
    CreateButton(hwnd, IDC_RECORD_EXIT, UiKey::RecordExit, 635, 65, 100, 30);
    s.start = CreateButton(hwnd, IDC_RECORD_START, UiKey::RecordStart, 5, 65, 120, 30);
    s.skip = CreateButton(hwnd, IDC_RECORD_SKIP, UiKey::RecordSkip, 130, 65, 80, 30);
    s.back = CreateButton(hwnd, IDC_RECORD_BACK, UiKey::RecordBack, 215, 65, 80, 30);
    s.word = CreateLabel(hwnd, IDC_RECORD_TEXT, L"", 10, 10, 595, 40, s.wordFont.get());
    s.line = CreateLabel(hwnd, IDC_RECORD_TEXT, L"", 310, 80, 220, 20, Fonts.GuiFont);
    s.status = CreateLabel(hwnd, IDC_RECORD_TEXT, L"", 420, 75, 210, 40, s.statusFont.get());
    s.position = std::clamp(ReadLastRecord(CurrentPair->name1), 0, WordCount);
    if (s.position >= WordCount) {
        ShowEnd();
    } else {
        ReadWord(s.position);
        SetFieldText(s.word, CurrentRecord.word, CurrentPair->charset1);
    }
    SetFocus(s.start);
    WriteLine();
    SetWindowSubclass(s.start, StartProc, 1, 0);
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
    if (WriteLastRecord(CurrentPair->name1, s.position) != 0)
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
    if (s.recording) {
        sendMci("stop mysound");
        sendMci("close mysound");
        s.recording = false;
    }
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
