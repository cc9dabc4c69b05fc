// Opens one of the program's windows on a working directory, as the program would,
// prints its class and size, and saves a picture of it as a BMP file.
//
//   window_preview sorting|updating|newlist OUT.bmp

#include <windows.h>

#include <cstdio>
#include <string>

#include "core/session/session.h"
#include "core/session/startup.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "screen_picture.h"
#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/new_list_dialog.h"
#include "ui/sorting_window.h"
#include "ui/updating_window.h"

namespace {

std::string outputPath;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void Report(HWND hwnd) {
    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    RECT r;
    GetWindowRect(hwnd, &r);
    bool saved = WaitForSteadyPicture(r, 5000, Pump) && SaveScreenPicture(r, outputPath);
    std::printf("%s %ldx%ld %s\n", className, r.right - r.left, r.bottom - r.top, saved ? "saved" : "not-saved");
}

// The dialog is modal: look at it from a timer once its loop has shown it, then cancel it.
void CALLBACK LookAtDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = GetActiveWindow();
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    Report(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_preview sorting|updating|newlist OUT.bmp\n");
        return 2;
    }
    const std::string window = argv[1];
    outputPath = argv[2];
    AppInstance = GetModuleHandleA(nullptr);
    LoadUiStrings();
    PrepareCatalogue(CommandLine{});
    ReadStartupSettings();
    UiCharset = UiNumber(UiKey::CharactersetCode);
    CreateSharedFonts();
    ReadWindowSettings();
    CheckSavedPracticeList();
    OpenStore();
    CountRecords();

    if (window == "sorting") {
        ShowSortingWindow();
        for (int i = 0; i <= 3; ++i) SortingWindowProgress().Show(SortPhase::Sorting, 2000 * i);
        Report(FindWindowA("sorting", nullptr));
        CloseSortingWindow();
    } else if (window == "updating") {
        ShowUpdatingWindow();
        Report(FindWindowA("updating", nullptr));
        CloseUpdatingWindow();
    } else if (window == "newlist") {
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, LookAtDialog);
        RunNewListDialog(nullptr);
    } else {
        std::fprintf(stderr, "unknown window %s\n", window.c_str());
        return 2;
    }
    CloseStore();
    return 0;
}
