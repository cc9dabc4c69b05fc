// The program's entry point: start-up in its fixed order, the message loop, and the
// exit code. Shutdown itself runs when the main window is destroyed.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <ctime>

#include "platform/message.h"
#include "shell/app.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/ui_strings.h"
#include "store/store.h"

namespace {

void ShowMessageBox(const UserMessage& message) {
    HWND owner = message.owner == MessageOwner::MainWindow     ? MainWindow
                 : message.owner == MessageOwner::ActiveWindow ? GetActiveWindow()
                                                               : nullptr;
    UINT style = MB_OK | (message.icon == MessageIcon::Warning ? MB_ICONWARNING : 0);
    MessageBoxW(owner, WideFromCharset(message.text.c_str(), UiCharset).c_str(),
                WideFromCharset(message.caption.c_str(), UiCharset).c_str(), style);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    AppInstance = instance;
    // The shell (help in the browser) wants COM on the thread that calls it.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SetMessageHandler(ShowMessageBox);
    LoadUiStrings();
    // From here on messages show in the interface's character set.
    UiCharset = UiNumber(UiKey::CharactersetCode);

    if (FindWindowW(L"glosk", WideFromCharset(Ui(UiKey::Dictionary), UiCharset).c_str())) return 1;

    CommandLine command = ParseCommandLine(commandLine ? commandLine : "");
    RecorderMode = command.recorderMode ? 1 : 0;
    PrepareCatalogue(command);

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
