#include "driver.h"

#include "core/strings/strings_file.h"
#include "screen_picture.h"
#include "test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

DriverPaths Paths;

namespace {

// The shown top-level windows of a process with a class (and title, when given).
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title = nullptr) {
    std::vector<HWND> found;
    for (HWND hwnd = nullptr; (hwnd = FindWindowExA(nullptr, hwnd, className, title)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        // Only a shown window is finished: a window being created is already listed.
        if (pid == processId && IsWindowVisible(hwnd)) found.push_back(hwnd);
    }
    return found;
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
    WriteFile(Path(relative), content);
}

std::string Fixture::Read(const std::string& relative) const { return ReadFile(Path(relative)); }

bool Fixture::Exists(const std::string& relative) const { return fs::exists(Path(relative)); }

void Fixture::Remove(const std::string& relative) const { fs::remove_all(Path(relative)); }

std::vector<WordRecord> Fixture::Records(const std::string& wordFile) const {
    return ReadRecords(Path("wordlists\\" + wordFile));
}

void Fixture::WriteRecords(const std::string& wordFile, const std::vector<WordRecord>& records) const {
    ::WriteRecords(Path("wordlists\\" + wordFile), records);
}

std::map<std::string, std::string> Fixture::Texts() const {
    std::map<std::string, std::string> texts;
    std::istringstream in(UnpackStrings(Read("strings\\english.str")));
    for (std::string line; std::getline(in, line);)
        if (auto eq = line.find('='); eq != std::string::npos) texts.emplace(line.substr(0, eq), line.substr(eq + 1));
    return texts;
}

Program::Program(const Fixture& fixture, const std::string& commandLine) {
    std::string line = "\"" + Paths.program + "\"" + (commandLine.empty() ? "" : " " + commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // Wine now and then fails a start on a busy machine; a later try starts the program.
    BOOL started = FALSE;
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, fixture.dir().c_str(),
                                 &startup, &info_);
        if (!started) {
            error = GetLastError();
            Sleep(250);
        }
    }
    EXPECT_TRUE(started) << line << " (error " << error << ")";
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
    std::vector<HWND> found;
    WaitUntil([&] { return !(found = TopLevelWindows(id(), className, title)).empty() || !Running(); }, timeoutMs);
    return found.empty() ? nullptr : found.front();
}

int Program::CountWindows(const char* className) { return static_cast<int>(TopLevelWindows(id(), className).size()); }

int Program::WaitForExit(int timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
}

bool Program::Running() { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
    return true;
}

bool Sync(HWND window, int timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs), &result) != 0;
}

testing::AssertionResult ShowsText(HWND control, const std::string& expected) {
    std::string shown;
    if (WaitUntil([&] { return (shown = WindowText(control)) == expected; })) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "shows \"" << shown << "\", not \"" << expected << "\"";
}

void EndToEnd::SetUp() {
    WriteProfileStringA("Dictionary", nullptr, nullptr);
    WriteProfileStringA(nullptr, nullptr, nullptr);
}

bool InOrder(const std::vector<WordRecord>& records, LCID locale) {
    for (std::size_t i = 1; i < records.size(); ++i)
        if (CompareStringA(locale, NORM_IGNORECASE | SORT_STRINGSORT, records[i - 1].word, -1, records[i].word, -1) ==
            CSTR_GREATER_THAN)
            return false;
    return true;
}

std::string Entry(const std::vector<WordRecord>& records, const std::string& word) {
    std::string found;
    for (const WordRecord& r : records)
        if (word == r.word) found += std::string(found.empty() ? "" : " | ") + r.translation;
    return found;
}

std::vector<std::string> Backups(const Fixture& fixture) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(fixture.Path("backups"))) names.push_back(e.path().filename().string());
    std::sort(names.rbegin(), names.rend());
    return names;
}

std::string WithCount(std::string text, int count) { return text.replace(text.find("%d"), 2, std::to_string(count)); }

std::string WindowText(HWND hwnd) {
    // GetWindowText does not ask another process's controls; WM_GETTEXT does.
    char text[512] = "";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &result);
    return text;
}

std::wstring WideText(HWND hwnd) {
    wchar_t text[128] = L"";
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &result);
    return text;
}

std::vector<std::string> StaticTexts(HWND window, int id) {
    std::vector<std::string> texts;
    for (HWND c = nullptr; (c = FindWindowExA(window, c, "Static", nullptr));)
        if (!id || GetDlgCtrlID(c) == id) texts.push_back(WindowText(c));
    return texts;
}

int ListBoxCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

std::string ListBoxItem(HWND list, int i) {
    wchar_t wide[4096] = L"";
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
    char text[8192] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

Placement PlacementOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back({.type = INPUT_KEYBOARD, .ki = {key, 0, 0, 0, 0}});
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back({.type = INPUT_KEYBOARD, .ki = {*key, 0, KEYEVENTF_KEYUP, 0, 0}});
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void MouseButton(POINT screen, bool down) {
    // Absolute coordinates run from 0 to 65535 over the screen.
    const LONG x = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    const LONG y = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    const DWORD button = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    INPUT inputs[] = {{.type = INPUT_MOUSE, .mi = {x, y, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0}},
                      {.type = INPUT_MOUSE, .mi = {x, y, 0, button, 0, 0}}};
    SendInput(2, inputs, sizeof(INPUT));
}

void CopyText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

HWND FocusIn(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool Foreground(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

void SaveScreenshot(const std::string& name, HWND window) {
    if (Paths.shots.empty()) return;
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT area;
    GetWindowRect(window, &area);
    IntersectRect(&area, &area, &screen);
    EXPECT_TRUE(Sync(window) && WaitForSteadyPicture(area, 5000)) << name;
    SaveScreenPicture(screen, Paths.shots + "\\" + name + ".bmp");
}

bool EndToEnd::Start(const std::string& commandLine) {
    program.emplace(fixture, commandLine);
    main = program->WaitForWindow("glosk");
    return main != nullptr;
}

HWND EndToEnd::Window(const char* className, const char* title) {
    HWND found = program->WaitForWindow(className, title);
    if (!found) throw std::runtime_error(std::string("no window of class ") + className);
    return found;
}

HWND EndToEnd::Open(HWND target, int command, const char* className, const char* title) {
    PostMessageA(target, WM_COMMAND, static_cast<WPARAM>(command), 0);
    return Window(className, title);
}

void EndToEnd::Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
    EXPECT_TRUE(window != main || program->WaitForExit() == 0) << "the program did not end with 0";
}

void EndToEnd::ChooseFile(HWND target, int command, const std::string& name, int filter) {
    PostMessageA(target, WM_COMMAND, static_cast<WPARAM>(command), 0);
    HWND dialog = program->WaitForWindow("#32770");
    ASSERT_NE(dialog, nullptr);
    if (filter > 0) {
        HWND types = GetDlgItem(dialog, 0x470);  // the file-type box
        ASSERT_NE(types, nullptr);
        SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(filter - 1), 0);
        for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})  // as a choice in the open list ends
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, code), reinterpret_cast<LPARAM>(types));
    }
    const std::string path = fixture.Path(name);
    ASSERT_TRUE(WaitUntil([&] {
        HWND box = GetDlgItem(dialog, 0x47C);  // the file-name box
        return box && SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
}

std::string EndToEnd::Answer(int button, const std::string& caption, const std::string& screenshot) {
    HWND box = program->WaitForWindow("#32770", (caption.empty() ? texts.at("Dictionary") : caption).c_str());
    if (!box) return "<no message box>";
    const std::string text = WindowText(GetDlgItem(box, 0xFFFF));  // the box's message
    if (!screenshot.empty()) SaveScreenshot(screenshot, box);
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    return text;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        for (auto [flag, value] :
             {std::pair{"--program=", &Paths.program}, {"--data=", &Paths.data}, {"--shots=", &Paths.shots}})
            if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) *value = argv[i] + std::strlen(flag);
    if (Paths.program.empty() || Paths.data.empty()) {
        std::fprintf(stderr, "usage: e2e_driver --program=DICTIONARY.EXE --data=DIR [--shots=DIR]\n");
        return 2;
    }
    if (!Paths.shots.empty()) fs::create_directories(Paths.shots);
    return RUN_ALL_TESTS();
}
