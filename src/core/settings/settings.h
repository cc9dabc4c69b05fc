// The user's settings: section Dictionary of win.ini, one variable per key, read
// once and written back when the program ends.
#pragma once

#include <cstddef>
#include <string>

constexpr int kUnknownPosition = 9999;
// The menu id of the first practice list, and the current list's until one is chosen.
constexpr int kFirstListId = 800;
// The longest name a practice list has, and so the setting that names the current one.
constexpr std::size_t kMaxListNameChars = 148;

// A window's stored place: `stored` is what win.ini held, `last` where the window was
// when it was last closed in this run (or the stored place until then).
struct WindowPosition {
    int left = kUnknownPosition;
    int top = kUnknownPosition;
    bool Known() const { return top != kUnknownPosition; }
};

struct SettingsValues {
    // Read at start-up, before the fonts exist.
    std::string languagefont = "Times New Roman";
    std::string guifont = "Arial";
    int guifontsize = 9;
    int languagefontsize = 30;
    int searchwindowsize = 10;
    int searchwindowminimal = 0;
    // Read while the main window is created.
    int colorR = 0, colorG = 200, colorB = 0;
    int colorRi = 0, colorGi = 3, colorBi = 0;
    int aviDelay = 0;  // under the key named by the AviDelay text
    int PracticeMode = 0;
    int StayOnTop = 0;
    WindowPosition mainWindow;
    WindowPosition practiseWindow;
    WindowPosition makelistWindow;
    WindowPosition addWindow;
    WindowPosition translateWindow;
    WindowPosition searchWindow;
    int ClipSearch = 0;
    int AddNewWordsToList = 1;
    int PracticeSound = 1;
    // Spaced review; only read, as the user sets them in win.ini.
    int ReviewRetention = 90;  // percent, 70-99
    int ReviewNewPerDay = 20;
    // Read after the main window exists.
    std::string PracticeList;
    int ListID = kFirstListId;
};

extern SettingsValues Settings;

constexpr const char* kSettingsSection = "Dictionary";

void ReadStartupSettings();
void ReadWindowSettings();
void ReadPracticeListSettings();
// The review keys alone, for the command line; a value out of range is the default.
void ReadReviewSettings();
// Writes every setting that is written at exit, in the fixed order. `mainWindow` is
// the main window's place as the platform reports it at that moment. 0, or -1 when a
// value could not be written (the others are written all the same).
int WriteSettings(const WindowPosition& mainWindow);

// Per-language place of the recorder, "lastrecord_" + the language name.
int ReadLastRecord(const char* languageName);
// 0, or -1 when it could not be written.
int WriteLastRecord(const char* languageName, int index);
