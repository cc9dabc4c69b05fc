// The program's entry point: start-up in its fixed order, the message loop, and the
// exit code. Shutdown itself runs when the main window is destroyed.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <ctime>

#include "core/backup/backup.h"
#include "core/session/session.h"
#include "core/session/startup.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "platform/message.h"
#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/ui_text.h"

namespace {

void ShowMessageBox(const UserMessage& message) {
    HWND owner = message.owner == MessageOwner::MainWindow     ? MainWindow
                 : message.owner == MessageOwner::ActiveWindow ? GetActiveWindow()
                                                               : nullptr;
    UiMessageBox(owner, message.text, message.caption,
                 MB_OK | (message.icon == MessageIcon::Warning ? MB_ICONWARNING : 0));
}

// Held for the whole run from the first step: two starts a moment apart would both pass
// the check for the main window and both rewrite the catalogue and win.ini.
bool FirstInstance() {
    CreateMutexW(nullptr, TRUE, L"Local\\VocabularyDictionary.SingleInstance");
    return GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    if (!FirstInstance()) return 1;
    AppInstance = instance;
    // The shell (help in the browser) wants COM on the thread that calls it.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SetMessageHandler(ShowMessageBox);
    LoadUiStrings();
    // From here on messages show in the interface's character set.
    UiCharset = UiNumber(UiKey::CharactersetCode);

    if (FindWindowW(L"glosk", UiWide(UiKey::Dictionary).c_str())) return 1;

    CommandLine command = ParseCommandLine(commandLine ? commandLine : "");
    RecorderMode = command.recorderMode ? 1 : 0;
    PrepareCatalogue(command);
    // Before anything can change them; a failure is told and the program goes on.
    BackUpAndReport(WorkingFiles(), MessageOwner::None, "start-up");

    ReadStartupSettings();
    CreateSharedFonts();

    RegisterMainWindowClass();
    MainWindow = CreateMainWindow();

    CheckSavedPracticeList();
    OpenStore();
    CountRecords();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    AttachMainMenus(MainWindow);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    LoadLibraryA("RICHED32.DLL");
    HACCEL accelerators = CreateMainAccelerators();

    ShowWindow(MainWindow, showCommand);
    UpdateWindow(MainWindow);

    // Every message of the thread is offered to the accelerators first, so they work in
    // every window and always reach the main window.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(MainWindow, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
