#include "ui/ui_support.h"

#include <atomic>
#include <cstdio>
#include <filesystem>

#include "core/morphology/word_lookup.h"
#include "ui/fonts.h"
#include "ui/main_window.h"

void UiTest::Start(const std::string& catalogue, const std::map<std::string, std::string>& strings) {
    UseCatalogue(catalogue, strings);
    ResetWinIni();
    WriteEmptyWordFiles();
    ReadSelectedPair();
    ReopenStore();
    AppInstance = GetModuleHandleA(nullptr);
    CreateSharedFonts();
    RegisterMainWindowClass();
    MainWindow = CreateMainWindow();
    ASSERT_NE(MainWindow, nullptr);
    AttachMainMenus(MainWindow);
}

void UiTest::StartEnglish(const std::vector<WordRecord>& words, const std::map<std::string, std::string>& strings,
                          const std::string& list, const std::vector<WordRecord>& listed) {
    Start("[languages]\nenglish\n", strings);
    CurrentPair = PairAt(0);
    WriteRecords("words/eng_dut.gk", words);
    if (!list.empty()) WriteRecords("lists/" + list + "/eng_dut.ls", listed);
    Settings.PracticeList = list;
    Settings.PracticeSound = 0;
    ReopenStore();
}

HWND UiTest::OpenWindow(HWND (*open)()) {
    SecondaryWindowOpen = 1;
    secondary = open();
    EXPECT_NE(secondary, nullptr);
    return secondary;
}

// Destroying the main window runs the shutdown steps; its quit message is dropped. A test
// may have set another interface character set.
void UiTest::TearDown() {
    if (IsWindow(secondary)) DestroyWindow(secondary);
    UiCharset = 0;
    if (MainWindow) DestroyWindow(MainWindow);
    MainWindow = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    CloseStore();
}

namespace {

// A test left waiting on a window nobody answers (a message box after a failed print, say)
// would hold the whole run. Past the limit the run stops, naming the test.
constexpr DWORD kTestLimitMs = 180000;

class Watchdog : public testing::EmptyTestEventListener {
public:
    Watchdog() {
        if (HANDLE thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr)) CloseHandle(thread);
    }

private:
    void OnTestStart(const testing::TestInfo& info) override {
        std::snprintf(name, sizeof name, "%s.%s", info.test_suite_name(), info.name());
        started = GetTickCount();
        running = true;
    }
    void OnTestEnd(const testing::TestInfo&) override { running = false; }

    static DWORD WINAPI Watch(void* self) {
        auto* dog = static_cast<Watchdog*>(self);
        for (;;) {
            Sleep(1000);
            if (!dog->running || GetTickCount() - dog->started < kTestLimitMs) continue;
            std::fprintf(stderr, "FAIL: %s ran for more than %lu s and was stopped\n", dog->name,
                         static_cast<unsigned long>(kTestLimitMs / 1000));
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }

    char name[256] = "";
    std::atomic<DWORD> started{0};
    std::atomic<bool> running{false};
};

// gtest owns its listeners once appended.
const bool watched = (testing::UnitTest::GetInstance()->listeners().Append(new Watchdog), true);

std::function<void()> pendingWork;

void CALLBACK RunPending(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto work = std::move(pendingWork);
    if (work) work();
}

}  // namespace

void WhileModal(const std::function<void()>& work, const std::function<void()>& open) {
    pendingWork = work;
    SetTimer(nullptr, 0, 50, RunPending);
    open();
    EXPECT_FALSE(pendingWork) << "the modal loop ended before the work ran";
    pendingWork = nullptr;
}

Canvas::Canvas(int width, int height)
    : dc_(CreateCompatibleDC(nullptr)),
      count_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      bitmap_([&] {
          BITMAPINFO info = {};
          info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
          void* bits = nullptr;
          HBITMAP made = CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
          pixels_ = static_cast<std::uint32_t*>(bits);
          return made;
      }()),
      select_(dc_.get(), bitmap_.get()) {}

void HoldKey(HWND target, WPARAM key, int repeats) {
    SendMessageW(target, WM_KEYDOWN, key, 1);
    for (int i = 0; i < repeats; ++i) SendMessageW(target, WM_KEYDOWN, key, 1 | (1 << 30));
    SendMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

std::wstring WideText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> MenuItems(HMENU menu) {
    std::vector<std::wstring> items;
    for (int k = 0; k < GetMenuItemCount(menu); ++k) {
        wchar_t text[200] = L"";
        GetMenuStringW(menu, static_cast<UINT>(k), text, 200, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(k), MF_BYPOSITION);
        items.push_back(state & MF_SEPARATOR ? L"-"
                                             : std::wstring(text) + L" " + std::to_wstring(GetMenuItemID(menu, k)) +
                                                   (state & MF_CHECKED ? L"*" : L""));
    }
    return items;
}

namespace {

std::vector<ShownBox>* shownBoxes;
int boxAnswer;

BOOL CALLBACK AnswerBox(HWND hwnd, LPARAM) {
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(hwnd) || GetPropA(hwnd, "answered")) return TRUE;
    SetPropA(hwnd, "answered", hwnd);
    shownBoxes->push_back({GetWindow(hwnd, GW_OWNER), WideText(hwnd), WideText(GetDlgItem(hwnd, 0xFFFF))});
    PostMessageA(hwnd, WM_COMMAND, static_cast<WPARAM>(boxAnswer), 0);
    return TRUE;
}

void CALLBACK AnswerBoxes(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0); }

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    MSG msg;
    while (!done()) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
}

std::vector<ShownBox> BoxesShownWhile(const std::function<void()>& work, int button) {
    std::vector<ShownBox> boxes;
    shownBoxes = &boxes;
    boxAnswer = button;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerBoxes);
    work();
    KillTimer(nullptr, timer);
    shownBoxes = nullptr;
    return boxes;
}

std::vector<std::wstring> OwnedBoxes(const std::vector<ShownBox>& boxes, HWND owner, bool captions) {
    std::vector<std::wstring> shown;
    for (const ShownBox& box : boxes)
        shown.push_back(box.owner != owner ? L"(not owned)" : captions ? box.caption : box.text);
    return shown;
}

void WriteEnglishMorphology() {
    ReleaseMorphology();
    std::filesystem::create_directory("morphology");
    WriteFile("morphology/english.aff", "SET ISO8859-1\nSFX S Y 1\nSFX S 0 s .\n");
    WriteFile("morphology/english.dic", "2\nhouse/S\nbook/S\n");
    WriteFile("morphology/english.forms", "went\tgo\n");
}
