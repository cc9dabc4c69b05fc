#include "driver.h"

#include "screen_picture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

DriverPaths Paths;

namespace {

struct FindState {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam) {
    auto* state = reinterpret_cast<FindState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    // Only a shown window is finished: a window being created is already listed.
    if (pid != state->processId || ClassOf(hwnd) != state->className || !IsWindowVisible(hwnd)) return TRUE;
    if (state->title && WindowText(hwnd) != state->title) return TRUE;
    state->found = hwnd;
    return FALSE;
}

}  // namespace

Fixture::Fixture() {
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    dir_ = std::string(temp) + "dict-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    fs::remove_all(dir_);
    fs::copy(Paths.data, dir_, fs::copy_options::recursive);
}

Fixture::~Fixture() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

void Fixture::Write(const std::string& relative, const std::string& content) const {
    std::ofstream out(Path(relative), std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Fixture::Read(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Fixture::Exists(const std::string& relative) const { return fs::exists(Path(relative)); }

void Fixture::Remove(const std::string& relative) const { fs::remove_all(Path(relative)); }

Program::Program(const Fixture& fixture, const std::string& commandLine) {
    std::string line = "\"" + Paths.program + "\"" + (commandLine.empty() ? "" : " " + commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, fixture.dir().c_str(),
                               &startup, &info_))
        << line;
}

Program::~Program() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

HWND Program::WaitForWindow(const char* className, const char* title, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        FindState state = {info_.dwProcessId, className, title, nullptr};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&state));
        if (state.found) return state.found;
        if (!Running()) return nullptr;
        Sleep(50);
    }
    return nullptr;
}

int Program::WaitForExit(int timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
}

bool Program::Running() { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

void ResetSettings() {
    WriteProfileStringA("Dictionary", nullptr, nullptr);
    WriteProfileStringA(nullptr, nullptr, nullptr);
}

std::vector<std::string> SettingsKeys() {
    std::vector<char> buffer(32768);
    DWORD n = GetProfileStringA("Dictionary", nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()));
    std::vector<std::string> keys;
    for (DWORD i = 0; i < n;) {
        std::string key(buffer.data() + i);
        if (key.empty()) break;
        keys.push_back(key);
        i += static_cast<DWORD>(key.size()) + 1;
    }
    return keys;
}

int SettingNumber(const char* key, int defaultValue) {
    return static_cast<int>(GetProfileIntA("Dictionary", key, defaultValue));
}

std::string WindowText(HWND hwnd) {
    // GetWindowText does not ask another process's controls; WM_GETTEXT does.
    char text[512] = "";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &result);
    return text;
}

std::string ClassOf(HWND hwnd) {
    char name[128] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string MessageBoxText(HWND box) {
    // The message of a message box is its static control with id 0xFFFF.
    return WindowText(GetDlgItem(box, 0xFFFF));
}

std::string ListViewCell(HWND list, DWORD processId, int row, int column) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return "<no access>";
    const SIZE_T textSize = 512;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + textSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    LVITEMA item = {};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(textSize);
    item.pszText = remote + sizeof(LVITEMA);
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote),
                        SMTO_ABORTIFHUNG, 5000, &result);
    char text[textSize] = "";
    ReadProcessMemory(process, remote + sizeof(LVITEMA), text, textSize - 1, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return text;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

void SaveScreenshot(const std::string& name) {
    if (Paths.shots.empty()) return;
    SaveScreenPicture({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                      Paths.shots + "\\" + name + ".bmp");
}

void Settle(int ms) { Sleep(static_cast<DWORD>(ms)); }

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* flag) { return a.rfind(flag, 0) == 0 ? a.substr(std::strlen(flag)) : std::string(); };
        if (auto v = value("--program="); !v.empty()) Paths.program = v;
        if (auto v = value("--data="); !v.empty()) Paths.data = v;
        if (auto v = value("--shots="); !v.empty()) Paths.shots = v;
    }
    if (Paths.program.empty() || Paths.data.empty()) {
        std::fprintf(stderr, "usage: e2e_driver --program=DICTIONARY.EXE --data=DIR [--shots=DIR]\n");
        return 2;
    }
    if (!Paths.shots.empty()) fs::create_directories(Paths.shots);
    return RUN_ALL_TESTS();
}
