// The end-to-end driver: starts dictionary.exe in a fresh copy of a working directory
// and works its windows from outside, as a user would.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/store/word_record.h"

struct DriverPaths {
    std::string program;  // dictionary.exe
    std::string data;     // the demo working directory, copied for every test
    std::string shots;    // where screenshots go
};
extern DriverPaths Paths;

// A fresh copy of the demo working directory, removed again at the end.
class Fixture {
public:
    Fixture();
    ~Fixture();
    std::string Path(const std::string& relative) const { return dir_ + "\\" + relative; }
    const std::string& dir() const { return dir_; }
    void Write(const std::string& relative, const std::string& content) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    void Remove(const std::string& relative) const;
    std::vector<WordRecord> Records(const std::string& wordFile) const;
    void WriteRecords(const std::string& wordFile, const std::vector<WordRecord>& records) const;
    // The interface texts, from the strings file.
    std::map<std::string, std::string> Texts() const;

private:
    std::string dir_;
};

// One run of the program.
class Program {
public:
    explicit Program(const Fixture& fixture, const std::string& commandLine = "");
    ~Program();
    // The first shown top-level window of the program with this class (and title, when given).
    HWND WaitForWindow(const char* className, const char* title = nullptr, int timeoutMs = 10000);
    // The shown top-level windows of the program with this class.
    int CountWindows(const char* className);
    // Waits for the process to end; its exit code, or -1 on a time-out.
    int WaitForExit(int timeoutMs = 10000);
    bool Running();
    DWORD id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_ = {};
};

// Polls every 20 ms until the condition holds; false when it did not in time.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
// A round trip through the window's thread: every message sent to it before has been handled.
bool Sync(HWND window, int timeoutMs = 10000);
// Waits until a control shows the text.
testing::AssertionResult ShowsText(HWND control, const std::string& expected);

// The locales the demo pair's two word files are sorted by.
constexpr LCID kEnglish = MAKELCID(0x0409, SORT_DEFAULT), kDutch = MAKELCID(0x0413, SORT_DEFAULT);
// Each word in order after the one before, as CompareStringA orders them.
bool InOrder(const std::vector<WordRecord>& records, LCID locale);
// The translations of every record of a word, joined by " | ".
std::string Entry(const std::vector<WordRecord>& records, const std::string& word);
// The backup folders of the working directory, newest first.
std::vector<std::string> Backups(const Fixture& fixture);
// An interface text with its "%d" given.
std::string WithCount(std::string text, int count);

std::string WindowText(HWND hwnd);
std::wstring WideText(HWND hwnd);
// The texts of a window's static controls (of that id, when given), in their order.
std::vector<std::string> StaticTexts(HWND window, int id = 0);
// A list box's rows, and one row in the system's code page.
int ListBoxCount(HWND list);
std::string ListBoxItem(HWND list, int i);
// A window's {left, top, width, height}: on the screen, or for a child in its parent's client area.
using Placement = std::array<int, 4>;
Placement PlacementOf(HWND hwnd);
// Real input, as from the keyboard and mouse: keys pressed in order and released in reverse.
void PressKeys(std::initializer_list<WORD> keys);
void MouseButton(POINT screen, bool down);
void CopyText(const std::string& text);
// The control that has the keyboard focus in `window`'s thread (none when none has it).
HWND FocusIn(HWND window);
// Brings a window to the front and waits until it is there.
bool Foreground(HWND window);

// Saves the screen to shots\<name>.bmp for people to look at, once the window shows painted.
void SaveScreenshot(const std::string& name, HWND window);

// A test of the program on its own copy of the demo working directory, settings emptied.
class EndToEnd : public testing::Test {
protected:
    // Settings isolation: the program's section of win.ini is emptied before each test.
    void SetUp() override;
    // Starts the program and waits for its main window.
    bool Start(const std::string& commandLine = "");
    // The program's first shown window of this class (and title, when given), waited for;
    // none in time throws, which fails the test there.
    HWND Window(const char* className, const char* title = nullptr);
    // Posts a command to a window and waits for the window it opens, as Window does.
    HWND Open(HWND target, int command, const char* className, const char* title = nullptr);
    // Closes a window of the program; the program ends with 0 when it is the main window.
    void Close(HWND window);
    // Posts a command that opens an open or save dialog and chooses a file of the working
    // directory there as a user does: the file type `filter` (1-based, 0 leaves it), then
    // the name typed and OK.
    void ChooseFile(HWND target, int command, const std::string& name, int filter = 0);
    // The text of the program's next message box (of that caption, else the program's
    // name), answered with `button` after a screenshot, when one is named.
    std::string Answer(int button = IDOK, const std::string& caption = "", const std::string& screenshot = "");

    Fixture fixture;
    const std::map<std::string, std::string> texts = fixture.Texts();
    std::optional<Program> program;
    HWND main = nullptr;
};
