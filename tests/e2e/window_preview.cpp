// Opens one of the program's windows on a working directory, as the program would,
// prints its class and size, and saves a picture of it as a BMP file.
//
//   window_preview sorting|updating|newlist OUT.bmp

#include <windows.h>

#include <cstdio>
#include <string>

#include "lists/list_windows.h"
#include "shell/app.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/ui_strings.h"
#include "store/sorting_window.h"
#include "store/store.h"

namespace {

std::string outputPath;

void Pump() {
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

// Copies the window's place on the screen into a 24-bit BMP file.
bool SaveWindowPicture(HWND hwnd, const std::string& path) {
    RECT r;
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u), size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader + size), 0, 0,
                             sizeof file + sizeof info.bmiHeader};
    bool ok = false;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
             std::fwrite(bits, 1, size, out) == size;
        ok = std::fclose(out) == 0 && ok;
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    ReleaseDC(nullptr, screen);
    return ok;
}

void Report(HWND hwnd) {
    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    RECT r;
    GetWindowRect(hwnd, &r);
    Pump();
    bool saved = SaveWindowPicture(hwnd, outputPath);
    std::printf("%s %ldx%ld %s\n", className, r.right - r.left, r.bottom - r.top, saved ? "saved" : "not-saved");
}

// The dialog is modal: look at it from a timer, then cancel it.
void CALLBACK LookAtDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = GetActiveWindow();
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
        SetTimer(nullptr, 0, 300, LookAtDialog);
        RunNewListDialog(nullptr);
    } else {
        std::fprintf(stderr, "unknown window %s\n", window.c_str());
        return 2;
    }
    CloseStore();
    return 0;
}
