// What the delivery tests ask Windows: the shell folders an installer writes to, and the
// program's main window, waited for and closed as a user closes it.
//
//   installer_probe folders                the documents and Start-menu folders, one a line
//   installer_probe wait-window SECONDS    exit 0 once the main window shows
//   installer_probe close-window SECONDS   closes it; exit 0 once its process has ended

#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The main window's class and its caption in the English interface.
constexpr char kMainClass[] = "glosk";
constexpr char kMainCaption[] = "Dictionary";

// Only a shown window is finished: a window being created is already listed.
HWND ShownMainWindow() {
    HWND hwnd = FindWindowA(kMainClass, kMainCaption);
    return hwnd && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

HWND WaitForMainWindow(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        if (HWND hwnd = ShownMainWindow()) return hwnd;
        if (GetTickCount64() >= end) return nullptr;
        Sleep(100);
    }
}

int PrintFolders() {
    const int folders[] = {CSIDL_PERSONAL, CSIDL_PROGRAMS};
    for (int folder : folders) {
        char path[MAX_PATH];
        if (SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return 1;
        std::printf("%s\n", path);
    }
    return 0;
}

int CloseMainWindow(DWORD milliseconds) {
    HWND hwnd = WaitForMainWindow(milliseconds);
    if (!hwnd) {
        std::fprintf(stderr, "no main window to close\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return 1;
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!ended) std::fprintf(stderr, "the program did not end after WM_CLOSE\n");
    return ended ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "folders") == 0) return PrintFolders();
    if (argc == 3) {
        const DWORD milliseconds = static_cast<DWORD>(std::atoi(argv[2])) * 1000;
        if (std::strcmp(argv[1], "wait-window") == 0) {
            if (WaitForMainWindow(milliseconds)) return 0;
            std::fprintf(stderr, "the main window did not show\n");
            return 1;
        }
        if (std::strcmp(argv[1], "close-window") == 0) return CloseMainWindow(milliseconds);
    }
    std::fprintf(stderr, "usage: installer_probe folders | wait-window SECONDS | close-window SECONDS\n");
    return 2;
}
