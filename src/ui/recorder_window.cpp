#include "ui/recorder_window.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
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

// Every command is reported when it fails, and the sequence goes on.
bool Mci(const std::string& command) {
    const MCIERROR error = mciSendStringA(command.c_str(), nullptr, 0, nullptr);
    if (error == 0) return true;
    char text[1024] = "";
    mciGetErrorStringA(error, text, sizeof text);
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBoxA(nullptr, text, "MCI Error", MB_OK | MB_ICONWARNING);
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
// passed over with a message before anything is recorded.
void StartOrStop() {
    if (!s.recording) {
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
        if (!Mci("open new type waveaudio alias mysound"))
            MessageBoxA(nullptr, "Can't open new sound   ", "Error", MB_OK);
        Mci("record mysound");
        return;
    }
    Mci("stop mysound");
    const std::optional<std::string> file = SoundFileName(CurrentPair->name1, CurrentRecord.word);
    Mci("save mysound \"" + file.value_or(std::string()) + "\"");
    Mci("close mysound");
    SetRecording(false);
    Advance();
}

void Skip() {
    if (!s.recording) Advance();
}

void Back() {
    if (s.recording) return;
    if (s.position > 0) --s.position;
    ShowStep();
}

// Enter, Space and Backspace on the start button go to the window instead.
LRESULT CALLBACK StartProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE || wParam == VK_BACK)) {
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(IDC_RECORD_KEY, wParam), 0);
        return 0;
    }
    return DefSubclassProc(button, msg, wParam, lParam);
}

HWND Text(HWND parent, int x, int y, int width, int height, HFONT font) {
    HWND text = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, x, y, width, height,
                              parent, reinterpret_cast<HMENU>(IDC_RECORD_TEXT), AppInstance, nullptr);
    SetWindowFont(text, font, FALSE);
    return text;
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
    s.word = Text(hwnd, 10, 10, 595, 40, s.wordFont.get());
    s.line = Text(hwnd, 310, 80, 220, 20, Fonts.GuiFont);
    s.status = Text(hwnd, 420, 75, 210, 40, s.statusFont.get());
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
            DestroyWindow(hwnd);
            return;
        case IDC_RECORD_START:
            return StartOrStop();
        case IDC_RECORD_SKIP:
            return Skip();
        case IDC_RECORD_BACK:
            return Back();
    }
}

void OnActivate(HWND, UINT state, HWND, BOOL minimized) { FocusOnActivation(state, minimized, s.start); }

// A recording under way is dropped: the device must not stay open under its alias.
void OnDestroy(HWND) {
    if (s.recording) {
        mciSendStringA("stop mysound", nullptr, 0, nullptr);
        mciSendStringA("close mysound", nullptr, 0, nullptr);
        s.recording = false;
    }
    s.wordFont.reset();
    s.statusFont.reset();
    WriteLastRecord(CurrentPair->name1, s.position);
    s.window = nullptr;
    SecondaryWindowClosed();
}

LRESULT CALLBACK RecorderWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorGrey);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenRecorderWindow() {
    return OpenCentredWindow(kClassName, RecorderWindowProc, 0, Ui(UiKey::RecordCaption), WS_OVERLAPPEDWINDOW, 750,
                             130);
}
