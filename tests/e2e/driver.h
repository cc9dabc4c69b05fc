// The end-to-end driver: starts dictionary.exe in a fresh copy of a working directory
// and works its windows from outside, as a user would.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

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

private:
    std::string dir_;
};

// One run of the program.
class Program {
public:
    Program(const Fixture& fixture, const std::string& commandLine = "");
    ~Program();
    // The first top-level window of the program with this class (and title, when given).
    HWND WaitForWindow(const char* className, const char* title = nullptr, int timeoutMs = 15000);
    // Waits for the process to end; its exit code, or -1 on a time-out.
    int WaitForExit(int timeoutMs = 15000);
    bool Running();
    DWORD id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_ = {};
};

// Settings isolation: the program's section of win.ini is emptied before each test.
void ResetSettings();
std::vector<std::string> SettingsKeys();
int SettingNumber(const char* key, int defaultValue);

std::string WindowText(HWND hwnd);
std::string ClassOf(HWND hwnd);
// The text of a message box (its static text) and its caption.
std::string MessageBoxText(HWND box);
// A cross-process read of a list view cell.
std::string ListViewCell(HWND list, DWORD processId, int row, int column);

// The screen's pixels, read back.
COLORREF ScreenPixel(int x, int y);
// Saves the screen to shots\<name>.bmp for people to look at.
void SaveScreenshot(const std::string& name);
void Settle(int ms = 300);
