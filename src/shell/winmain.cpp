// The program's entry point: start-up in its fixed order, the message loop, and the
// exit code. Shutdown itself runs when the main window is destroyed.

#include <windows.h>

#include <commctrl.h>

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
    SetMessageHandler(ShowMessageBox);
    LoadUiStrings();

    if (FindWindowA("glosk", Ui(UiKey::Dictionary))) return 1;

    CommandLine command = ParseCommandLine(commandLine ? commandLine : "");
    RecorderMode = command.recorderMode ? 1 : 0;
    PrepareCatalogue(command);

    ReadStartupSettings();
    UiCharset = UiNumber(UiKey::CharactersetCode);
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
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(MainWindow, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
