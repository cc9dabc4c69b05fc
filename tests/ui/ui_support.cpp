#include "ui/ui_support.h"

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "ui/app_state.h"
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

// Destroying the main window runs the shutdown steps; its quit message is dropped.
void UiTest::TearDown() {
    if (MainWindow) DestroyWindow(MainWindow);
    MainWindow = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    CloseStore();
}

namespace {

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

namespace {

struct ClassCount {
    const char* className;
    int n;
};

// Windows calls it with its own calling convention, which a plain lambda lacks on 32-bit Windows.
BOOL CALLBACK CountClass(HWND hwnd, LPARAM lParam) {
    auto* c = reinterpret_cast<ClassCount*>(lParam);
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == c->className) ++c->n;
    return TRUE;
}

}  // namespace

int ThreadWindows(const char* className) {
    ClassCount count = {className, 0};
    EnumThreadWindows(GetCurrentThreadId(), CountClass, reinterpret_cast<LPARAM>(&count));
    return count.n;
}

std::wstring WideText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
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
