#include "core/settings/settings.h"

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
        if (!line.empty() && line[0] == '[')
            inSection = line == "[Dictionary]";
        else if (inSection && line.find('=') != std::string::npos)
            keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

void Put(const char* key, const std::string& value) { platform::ProfileWriteString("", kSettingsSection, key, value); }

void ReadAll() {
    ReadStartupSettings();
    ReadWindowSettings();
    ReadPracticeListSettings();
}

class SettingsTest : public testing::Test {
protected:
    void SetUp() override {
        UseStrings({{"AviDelay", "AnimationPause"}});
        ResetWinIni();
        Settings = SettingsValues{};
        Settings.searchwindowsize = Settings.colorG = -5;  // proves every value is read, not left over
    }
};

}  // namespace

// A key that cannot be written loses no other.
TEST_F(SettingsTest, AFirstRunWritesInOrderWithoutUnplacedWindowsAndEachKeyOnItsOwn) {
    ReadAll();
    WriteSettings({120, 80});
    const std::vector<std::string> keys = {"searchwindowsize", "searchwindowminimal", "PracticeMode",
                                           "PracticeSound",    "StayOnTop",           "WinPosLeftMain",
                                           "WinPosTopMain",    "ClipSearch",          "AddNewWordsToList"};
    EXPECT_EQ(DictionaryKeys(), keys);
    ResetWinIni();
    {
        FailingFileStep failing(1);  // the first key's
        EXPECT_EQ(WriteSettings({120, 80}), -1);
    }
    EXPECT_EQ(DictionaryKeys(), std::vector<std::string>(keys.begin() + 1, keys.end()));
}

TEST_F(SettingsTest, ValuesAsStoredCutAndNonNumbers) {
    const std::pair<const char*, const char*> stored[] = {
        {"guifont", "ffffffffffffffffffffffffffffffffffffffffffffffffffffffffff"},
        {"colorR", "abc"},
        {"colorB", "120xyz"},
        {"AnimationPause", "250"},
        {"WinPosLeftAdd", "40"},
        {"WinPosTopAdd", "9999"},
        {"WinPosLeftSearch", "-20"},
        {"WinPosTopSearch", "15"}};
    for (auto [key, value] : stored) Put(key, value);
    ReadAll();
    EXPECT_EQ(Settings.guifont, std::string(48, 'f'));
    EXPECT_EQ((std::vector<int>{Settings.colorR, Settings.colorB, Settings.aviDelay, Settings.searchWindow.left}),
              (std::vector<int>{0, 120, 250, -20}));
    EXPECT_FALSE(Settings.addWindow.Known());  // a top of 9999 is a window never placed
    EXPECT_TRUE(Settings.searchWindow.Known());
}

TEST_F(SettingsTest, ChangedValuesAndKnownPositionsComeBack) {
    ReadAll();
    Settings.PracticeMode = 1;
    Settings.searchWindow = {33, 44};
    Settings.PracticeList = "week1";
    Settings.ListID = 801;
    WriteSettings({});
    Settings = SettingsValues{};
    ReadAll();
    EXPECT_EQ((std::vector<int>{Settings.PracticeMode, Settings.searchWindow.left, Settings.searchWindow.top,
                                Settings.ListID}),
              (std::vector<int>{1, 33, 44, 801}));
    EXPECT_FALSE(Settings.mainWindow.Known());
    EXPECT_EQ(Settings.PracticeList, "week1");
    // An empty current list leaves the stored one alone.
    Settings.PracticeList.clear();
    Settings.ListID = 800;
    WriteSettings({});
    ReadPracticeListSettings();
    EXPECT_EQ(Settings.PracticeList, "week1");
    EXPECT_EQ(Settings.ListID, 801);
}

TEST_F(SettingsTest, ReviewValuesOutOfRangeAreTheDefaults) {
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {"85", "5", 85, 5},   {"70", "0", 70, 0},       {"99", "10000", 99, 10000},
        {"69", "-1", 90, 20}, {"100", "10001", 90, 20}, {"x", "", 90, 20},
    };
    for (auto [retention, perDay, wantRetention, wantPerDay] : cases) {
        Put("ReviewRetention", retention);
        Put("ReviewNewPerDay", perDay);
        ReadReviewSettings();
        EXPECT_EQ(Settings.ReviewRetention, wantRetention) << retention;
        EXPECT_EQ(Settings.ReviewNewPerDay, wantPerDay) << perDay;
    }
}
