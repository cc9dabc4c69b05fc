#include "core/settings/settings.h"

#include <cstdio>
#include <variant>

#include "core/strings/ui_strings.h"
#include "platform/platform.h"

SettingsValues Settings;

namespace {

// An empty file name is the user's win.ini.
const std::string kWinIni;

int ReadNumber(const char* key, int defaultValue) {
    return platform::ProfileReadInt(kWinIni, kSettingsSection, key, defaultValue);
}

std::string ReadText(const char* key, const char* defaultValue, std::size_t maxChars) {
    return platform::ProfileReadString(kWinIni, kSettingsSection, key, defaultValue, maxChars);
}

int WriteNumber(const char* key, long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%ld", value);
    return platform::ProfileWriteString(kWinIni, kSettingsSection, key, text);
}

// When a key is read: the fonts' keys before the fonts exist, most while the main window
// is created, the practice list's after it exists.
enum class ReadAt { Startup, MainWindow, PracticeList };
// Whether a key is written at exit; the practice list's keys only when a list is chosen.
enum class WrittenAtExit { No, Yes, WithPracticeList };

using SettingValue =
    std::variant<int SettingsValues::*, std::string SettingsValues::*, WindowPosition SettingsValues::*>;

struct SettingKey {
    // A window's place has two keys, this name after "WinPosLeft" and after "WinPosTop";
    // nullptr stands for the key the AviDelay text names.
    const char* key;
    SettingValue value;
    ReadAt readAt;
    WrittenAtExit written;
    std::size_t maxChars = 0;  // of a text
};

// Every key, in the order written at exit; the defaults are those of SettingsValues.
const SettingKey kSettingKeys[] = {
    {"languagefont", &SettingsValues::languagefont, ReadAt::Startup, WrittenAtExit::No, 48},
    {"guifont", &SettingsValues::guifont, ReadAt::Startup, WrittenAtExit::No, 48},
    {"guifontsize", &SettingsValues::guifontsize, ReadAt::Startup, WrittenAtExit::No},
    {"languagefontsize", &SettingsValues::languagefontsize, ReadAt::Startup, WrittenAtExit::No},
    {"searchwindowsize", &SettingsValues::searchwindowsize, ReadAt::Startup, WrittenAtExit::Yes},
    {"searchwindowminimal", &SettingsValues::searchwindowminimal, ReadAt::Startup, WrittenAtExit::Yes},
    {"colorR", &SettingsValues::colorR, ReadAt::MainWindow, WrittenAtExit::No},
    {"colorG", &SettingsValues::colorG, ReadAt::MainWindow, WrittenAtExit::No},
    {"colorB", &SettingsValues::colorB, ReadAt::MainWindow, WrittenAtExit::No},
    {"colorRi", &SettingsValues::colorRi, ReadAt::MainWindow, WrittenAtExit::No},
    {"colorGi", &SettingsValues::colorGi, ReadAt::MainWindow, WrittenAtExit::No},
    {"colorBi", &SettingsValues::colorBi, ReadAt::MainWindow, WrittenAtExit::No},
    {nullptr, &SettingsValues::aviDelay, ReadAt::MainWindow, WrittenAtExit::No},
    {"PracticeMode", &SettingsValues::PracticeMode, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"PracticeSound", &SettingsValues::PracticeSound, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"StayOnTop", &SettingsValues::StayOnTop, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"Main", &SettingsValues::mainWindow, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"Practise", &SettingsValues::practiseWindow, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"Makelist", &SettingsValues::makelistWindow, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"Add", &SettingsValues::addWindow, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"Translate", &SettingsValues::translateWindow, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"Search", &SettingsValues::searchWindow, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"ClipSearch", &SettingsValues::ClipSearch, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"AddNewWordsToList", &SettingsValues::AddNewWordsToList, ReadAt::MainWindow, WrittenAtExit::Yes},
    {"PracticeList", &SettingsValues::PracticeList, ReadAt::PracticeList, WrittenAtExit::WithPracticeList,
     kMaxListNameChars},
    {"ListID", &SettingsValues::ListID, ReadAt::PracticeList, WrittenAtExit::WithPracticeList},
};

const char* KeyOf(const SettingKey& setting) { return setting.key ? setting.key : Ui(UiKey::AviDelay); }

std::string PositionKey(const char* side, const SettingKey& setting) { return side + std::string(setting.key); }

void Read(const SettingKey& setting, SettingsValues& values) {
    static const SettingsValues kDefaults;
    if (auto number = std::get_if<int SettingsValues::*>(&setting.value)) {
        values.*(*number) = ReadNumber(KeyOf(setting), kDefaults.*(*number));
    } else if (auto text = std::get_if<std::string SettingsValues::*>(&setting.value)) {
        values.*(*text) = ReadText(KeyOf(setting), (kDefaults.*(*text)).c_str(), setting.maxChars);
    } else {
        WindowPosition& p = values.*std::get<WindowPosition SettingsValues::*>(setting.value);
        p.left = ReadNumber(PositionKey("WinPosLeft", setting).c_str(), kUnknownPosition);
        p.top = ReadNumber(PositionKey("WinPosTop", setting).c_str(), kUnknownPosition);
    }
}

// A window that was never placed leaves its keys alone.
int Write(const SettingKey& setting, const SettingsValues& values) {
    if (auto number = std::get_if<int SettingsValues::*>(&setting.value))
        return WriteNumber(KeyOf(setting), values.*(*number));
    if (auto text = std::get_if<std::string SettingsValues::*>(&setting.value))
        return platform::ProfileWriteString(kWinIni, kSettingsSection, KeyOf(setting), values.*(*text));
    const WindowPosition& p = values.*std::get<WindowPosition SettingsValues::*>(setting.value);
    if (!p.Known()) return 0;
    const int left = WriteNumber(PositionKey("WinPosLeft", setting).c_str(), p.left);
    return WriteNumber(PositionKey("WinPosTop", setting).c_str(), p.top) == 0 ? left : -1;
}

void ReadKeys(ReadAt when) {
    for (const SettingKey& setting : kSettingKeys)
        if (setting.readAt == when) Read(setting, Settings);
}

}  // namespace

void ReadStartupSettings() { ReadKeys(ReadAt::Startup); }

void ReadWindowSettings() {
    ReadKeys(ReadAt::MainWindow);
    ReadReviewSettings();
}

void ReadReviewSettings() {
    const int retention = ReadNumber("ReviewRetention", 90);
    Settings.ReviewRetention = retention >= 70 && retention <= 99 ? retention : 90;
    const int perDay = ReadNumber("ReviewNewPerDay", 20);
    Settings.ReviewNewPerDay = perDay >= 0 && perDay <= 10000 ? perDay : 20;
}

void ReadPracticeListSettings() { ReadKeys(ReadAt::PracticeList); }

int WriteSettings(const WindowPosition& mainWindow) {
    SettingsValues values = Settings;
    values.mainWindow = mainWindow;
    // Each value is written whatever became of the one before: one that fails loses no other.
    int failed = 0;
    for (const SettingKey& setting : kSettingKeys) {
        const bool written = setting.written == WrittenAtExit::Yes ||
                             (setting.written == WrittenAtExit::WithPracticeList && !values.PracticeList.empty());
        if (written) failed += Write(setting, values) != 0;
    }
    return failed == 0 ? 0 : -1;
}

int ReadLastRecord(const char* languageName) {
    return ReadNumber(("lastrecord_" + std::string(languageName)).c_str(), 0);
}

int WriteLastRecord(const char* languageName, int index) {
    return WriteNumber(("lastrecord_" + std::string(languageName)).c_str(), index);
}
