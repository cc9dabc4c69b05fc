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

void WriteNumber(const char* key, long value) {
    char text[24];
    std::snprintf(text, sizeof text, "%ld", value);
    platform::ProfileWriteString(kWinIni, kSettingsSection, key, text);
}

WindowPosition ReadPosition(const char* leftKey, const char* topKey) {
    WindowPosition p;
    p.left = ReadNumber(leftKey, kUnknownPosition);
    p.top = ReadNumber(topKey, kUnknownPosition);
    return p;
}

void WritePosition(const char* leftKey, const char* topKey, const WindowPosition& p) {
    if (!p.Known()) return;
    WriteNumber(leftKey, p.left);
    WriteNumber(topKey, p.top);
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
}

void ReadPracticeListSettings() {
    Settings.PracticeList = ReadText("PracticeList", "", 148);
    Settings.ListID = ReadNumber("ListID", 800);
}

void WriteSettings(const WindowPosition& mainWindow) {
    WriteNumber("searchwindowsize", Settings.searchwindowsize);
    WriteNumber("searchwindowminimal", Settings.searchwindowminimal);
    WriteNumber("PracticeMode", Settings.PracticeMode);
    WriteNumber("PracticeSound", Settings.PracticeSound);
    WriteNumber("StayOnTop", Settings.StayOnTop);
    WritePosition("WinPosLeftMain", "WinPosTopMain", mainWindow);
    WritePosition("WinPosLeftPractise", "WinPosTopPractise", Settings.practiseWindow);
    WritePosition("WinPosLeftMakelist", "WinPosTopMakelist", Settings.makelistWindow);
    WritePosition("WinPosLeftAdd", "WinPosTopAdd", Settings.addWindow);
    WritePosition("WinPosLeftTranslate", "WinPosTopTranslate", Settings.translateWindow);
    WritePosition("WinPosLeftSearch", "WinPosTopSearch", Settings.searchWindow);
    WriteNumber("ClipSearch", Settings.ClipSearch);
    WriteNumber("AddNewWordsToList", Settings.AddNewWordsToList);
    if (!Settings.PracticeList.empty()) {
        platform::ProfileWriteString(kWinIni, kSettingsSection, "PracticeList", Settings.PracticeList);
        WriteNumber("ListID", Settings.ListID);
    }
}

int ReadLastRecord(const char* languageName) {
    return ReadNumber(("lastrecord_" + std::string(languageName)).c_str(), 0);
}

void WriteLastRecord(const char* languageName, int index) {
    WriteNumber(("lastrecord_" + std::string(languageName)).c_str(), index);
}
