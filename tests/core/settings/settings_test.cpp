#include "core/settings/settings.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/platform.h"
#include "test_support.h"

namespace {

// The keys of the program's section of win.ini, in file order.
std::vector<std::string> DictionaryKeys() {
    std::istringstream in(WinIniText());
    std::vector<std::string> keys;
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inSection = line == "[Dictionary]";
            continue;
        }
        if (inSection && line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

void Put(const char* key, const std::string& value) { platform::ProfileWriteString("", kSettingsSection, key, value); }

class SettingsTest : public testing::Test {
protected:
    void SetUp() override {
        UseStrings({{"AviDelay", "AnimationPause"}});
        ResetWinIni();
        Settings = SettingsValues{};
        Settings.searchwindowsize = -5;  // proves every value is read, not left over
        Settings.colorG = -5;
    }
};

}  // namespace

TEST_F(SettingsTest, EmptyWinIniGivesDefaults) {
    ReadStartupSettings();
    ReadWindowSettings();
    ReadPracticeListSettings();
    EXPECT_EQ(Settings.languagefont, "Times New Roman");
    EXPECT_EQ(Settings.guifont, "Arial");
    EXPECT_EQ(Settings.searchwindowsize, 10);
    EXPECT_EQ(Settings.colorG, 200);
    EXPECT_EQ(Settings.colorGi, 3);
    EXPECT_EQ(Settings.PracticeMode, 0);
    EXPECT_EQ(Settings.StayOnTop, 0);
    EXPECT_FALSE(Settings.mainWindow.Known());
    EXPECT_FALSE(Settings.searchWindow.Known());
    EXPECT_EQ(Settings.ClipSearch, 0);
    EXPECT_EQ(Settings.AddNewWordsToList, 1);
    EXPECT_EQ(Settings.PracticeSound, 1);
    EXPECT_EQ(Settings.PracticeList, "");
    EXPECT_EQ(Settings.ListID, 800);
}

TEST_F(SettingsTest, ValuesAsStoredCutAndNonNumbers) {
    Put("guifont", std::string(60, 'f'));
    Put("colorR", "abc");
    Put("colorB", "120xyz");
    Put("AnimationPause", "250");
    Put("WinPosLeftAdd", "40");
    Put("WinPosTopAdd", "9999");
    Put("WinPosLeftSearch", "-20");
    Put("WinPosTopSearch", "15");
    ReadStartupSettings();
    ReadWindowSettings();
    EXPECT_EQ(Settings.guifont, std::string(48, 'f'));
    EXPECT_EQ(Settings.colorR, 0);
    EXPECT_EQ(Settings.colorB, 120);
    EXPECT_EQ(Settings.aviDelay, 250);
    EXPECT_FALSE(Settings.addWindow.Known());
    EXPECT_TRUE(Settings.searchWindow.Known());
    EXPECT_EQ(Settings.searchWindow.left, -20);
}

TEST_F(SettingsTest, FirstRunWritesInOrderWithoutSecondaryPositions) {
    ReadStartupSettings();
    ReadWindowSettings();
    ReadPracticeListSettings();
    WriteSettings({120, 80});
    EXPECT_EQ(DictionaryKeys(),
              (std::vector<std::string>{"searchwindowsize", "searchwindowminimal", "PracticeMode", "PracticeSound",
                                        "StayOnTop", "WinPosLeftMain", "WinPosTopMain", "ClipSearch",
                                        "AddNewWordsToList"}));
}

TEST_F(SettingsTest, ChangedValuesAndKnownPositionsAreWritten) {
    ReadStartupSettings();
    ReadWindowSettings();
    Settings.PracticeMode = 1;
    Settings.searchWindow = {33, 44};
    Settings.PracticeList = "week1";
    Settings.ListID = 801;
    WriteSettings({});
    Settings = SettingsValues{};
    ReadStartupSettings();
    ReadWindowSettings();
    ReadPracticeListSettings();
    EXPECT_EQ(Settings.PracticeMode, 1);
    EXPECT_EQ(Settings.searchWindow.left, 33);
    EXPECT_EQ(Settings.searchWindow.top, 44);
    EXPECT_FALSE(Settings.mainWindow.Known());
    EXPECT_EQ(Settings.PracticeList, "week1");
    EXPECT_EQ(Settings.ListID, 801);

    // An empty current list leaves the stored one alone.
    Settings.PracticeList.clear();
    Settings.ListID = 800;
    WriteSettings({});
    ReadPracticeListSettings();
    EXPECT_EQ(Settings.PracticeList, "week1");
    EXPECT_EQ(Settings.ListID, 801);
}

TEST_F(SettingsTest, RecorderPositionIsPerFirstLanguage) {
    WriteLastRecord("english", 42);
    EXPECT_EQ(ReadLastRecord("english"), 42);
    EXPECT_EQ(ReadLastRecord("dutch"), 0);
    EXPECT_EQ(DictionaryKeys(), std::vector<std::string>{"lastrecord_english"});
}
