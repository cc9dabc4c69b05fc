#include "core/settings/settings.h"

#include <cstdio>

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

WindowPosition ReadPosition(const char* leftKey, const char* topKey) {
    WindowPosition p;
    p.left = ReadNumber(leftKey, kUnknownPosition);
    p.top = ReadNumber(topKey, kUnknownPosition);
    return p;
}

int WritePosition(const char* leftKey, const char* topKey, const WindowPosition& p) {
    if (!p.Known()) return 0;
    const int left = WriteNumber(leftKey, p.left);
    return WriteNumber(topKey, p.top) == 0 ? left : -1;
}

}  // namespace

void ReadStartupSettings() {
    Settings.languagefont = ReadText("languagefont", "Times New Roman", 48);
    Settings.guifont = ReadText("guifont", "Arial", 48);
    Settings.guifontsize = ReadNumber("guifontsize", 9);
    Settings.languagefontsize = ReadNumber("languagefontsize", 30);
    Settings.searchwindowsize = ReadNumber("searchwindowsize", 10);
    Settings.searchwindowminimal = ReadNumber("searchwindowminimal", 0);
}

void ReadWindowSettings() {
    Settings.colorR = ReadNumber("colorR", 0);
    Settings.colorG = ReadNumber("colorG", 200);
    Settings.colorB = ReadNumber("colorB", 0);
    Settings.colorRi = ReadNumber("colorRi", 0);
    Settings.colorGi = ReadNumber("colorGi", 3);
    Settings.colorBi = ReadNumber("colorBi", 0);
    Settings.aviDelay = ReadNumber(Ui(UiKey::AviDelay), 0);
    Settings.PracticeMode = ReadNumber("PracticeMode", 0);
    Settings.StayOnTop = ReadNumber("StayOnTop", 0);
    Settings.mainWindow = ReadPosition("WinPosLeftMain", "WinPosTopMain");
    Settings.practiseWindow = ReadPosition("WinPosLeftPractise", "WinPosTopPractise");
    Settings.makelistWindow = ReadPosition("WinPosLeftMakelist", "WinPosTopMakelist");
    Settings.addWindow = ReadPosition("WinPosLeftAdd", "WinPosTopAdd");
    Settings.translateWindow = ReadPosition("WinPosLeftTranslate", "WinPosTopTranslate");
    Settings.searchWindow = ReadPosition("WinPosLeftSearch", "WinPosTopSearch");
    Settings.ClipSearch = ReadNumber("ClipSearch", 0);
    Settings.AddNewWordsToList = ReadNumber("AddNewWordsToList", 1);
    Settings.PracticeSound = ReadNumber("PracticeSound", 1);
    ReadReviewSettings();
}

void ReadReviewSettings() {
    const int retention = ReadNumber("ReviewRetention", 90);
    Settings.ReviewRetention = retention >= 70 && retention <= 99 ? retention : 90;
    const int perDay = ReadNumber("ReviewNewPerDay", 20);
    Settings.ReviewNewPerDay = perDay >= 0 && perDay <= 10000 ? perDay : 20;
}

void ReadPracticeListSettings() {
    Settings.PracticeList = ReadText("PracticeList", "", 148);
    Settings.ListID = ReadNumber("ListID", 800);
}

int WriteSettings(const WindowPosition& mainWindow) {
    // Each value is written whatever became of the one before: one that fails loses no other.
    int failed = 0;
    auto count = [&](int result) { failed += result != 0; };
    count(WriteNumber("searchwindowsize", Settings.searchwindowsize));
    count(WriteNumber("searchwindowminimal", Settings.searchwindowminimal));
    count(WriteNumber("PracticeMode", Settings.PracticeMode));
    count(WriteNumber("PracticeSound", Settings.PracticeSound));
    count(WriteNumber("StayOnTop", Settings.StayOnTop));
    count(WritePosition("WinPosLeftMain", "WinPosTopMain", mainWindow));
    count(WritePosition("WinPosLeftPractise", "WinPosTopPractise", Settings.practiseWindow));
    count(WritePosition("WinPosLeftMakelist", "WinPosTopMakelist", Settings.makelistWindow));
    count(WritePosition("WinPosLeftAdd", "WinPosTopAdd", Settings.addWindow));
    count(WritePosition("WinPosLeftTranslate", "WinPosTopTranslate", Settings.translateWindow));
    count(WritePosition("WinPosLeftSearch", "WinPosTopSearch", Settings.searchWindow));
    count(WriteNumber("ClipSearch", Settings.ClipSearch));
    count(WriteNumber("AddNewWordsToList", Settings.AddNewWordsToList));
    if (!Settings.PracticeList.empty()) {
        count(platform::ProfileWriteString(kWinIni, kSettingsSection, "PracticeList", Settings.PracticeList));
        count(WriteNumber("ListID", Settings.ListID));
    }
    return failed == 0 ? 0 : -1;
}

int ReadLastRecord(const char* languageName) {
    return ReadNumber(("lastrecord_" + std::string(languageName)).c_str(), 0);
}

int WriteLastRecord(const char* languageName, int index) {
    return WriteNumber(("lastrecord_" + std::string(languageName)).c_str(), index);
}
