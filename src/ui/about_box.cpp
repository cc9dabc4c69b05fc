// The about box (ABOUTBOX): the texts come from the strings file; "dict.avi" plays in
// the left frame, again after each run, with the AviDelay pause between runs.

#include "ui/about_box.h"

#include <vfw.h>
#include <windows.h>
#include <windowsx.h>

#include "core/settings/settings.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/ui_text.h"

namespace {

struct AboutState {
    HWND animation;
    MCIDEVICEID device;
    MCIERROR lastPlay;
};

AboutState s;

void Play(HWND dialog) {
    MCI_PLAY_PARMS play = {};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(dialog);
    play.dwFrom = 0;
    s.lastPlay = mciSendCommandA(s.device, MCI_PLAY, MCI_FROM | MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
}

// A button going down on the about box or one of its controls; the click stays queued, so
// it still does what it was meant for (OK closes the box).
bool ClickInside(HWND dialog) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_NOREMOVE)) {
        const bool down =
            msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN;
        if (down && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd))) return true;
        PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);  // not ours to wait for
    }
    return false;
}

// The pause between two runs; a click in the about box ends it early. Nothing else is
// handled meanwhile.
void Pause(HWND dialog, int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        if (ClickInside(dialog)) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_MOUSEBUTTON);
    }
}

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
    SetUiText(dialog, 0, UiKey::AboutDialogCaption);
    SetUiText(dialog, IDOK, UiKey::AboutDialogOk);
    SetUiText(dialog, IDC_ABOUT_VERSION, UiKey::AboutDialogVersion);
    SetUiText(dialog, IDC_ABOUT_COPYRIGHT, UiKey::AboutDialogCopyright);
    SetUiText(dialog, IDC_ABOUT_WEBSITE, UiKey::AboutDialogWebsite);
    SetUiText(dialog, IDC_ABOUT_EMAIL, UiKey::AboutDialogEmail);

    // An animation window would be made even for a missing file, to fail at play.
    s = AboutState{};
    if (platform::FileExists("dict.avi"))
        s.animation =
            MCIWndCreateA(dialog, AppInstance,
                          WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU | MCIWNDF_NOERRORDLG, "dict.avi");
    if (s.animation) {
        // Above the frame around it, which clips it out rather than painting over it.
        SetWindowPos(s.animation, HWND_TOP, 10, 11, 0, 0, SWP_NOSIZE);
        MCIWndSetRepeat(s.animation, TRUE);
        s.device = MCIWndGetDeviceID(s.animation);
        Play(dialog);
    }
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;
}

void OnCommand(HWND dialog, int id, HWND, UINT) {
    if (id != IDOK && id != IDCANCEL) return;
    if (s.animation) MCIWndDestroy(s.animation);
    s.animation = nullptr;
    EndDialog(dialog, 0);
}

void OnPlayNotify(HWND dialog, WPARAM flags) {
    if (flags != MCI_NOTIFY_SUCCESSFUL || s.lastPlay != 0 || !s.animation) return;
    if (Settings.aviDelay > 0) Pause(dialog, Settings.aviDelay);
    Play(dialog);
}

INT_PTR CALLBACK AboutDialogProc(HWND hwndDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            return SetDlgMsgResult(hwndDlg, msg, HANDLE_WM_INITDIALOG(hwndDlg, wParam, lParam, OnInitDialog));
        case WM_COMMAND:
            HANDLE_WM_COMMAND(hwndDlg, wParam, lParam, OnCommand);
            return TRUE;
        case MM_MCINOTIFY:
            OnPlayNotify(hwndDlg, wParam);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunAboutBox(HWND owner) { DialogBoxW(AppInstance, L"AboutBox", owner, AboutDialogProc); }
