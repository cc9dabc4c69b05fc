#include "core/settings/settings.h"

#include <sstream>

#include "platform/platform.h"
#include "test_support.h"

namespace {

// The keys of the program's section of win.ini, in file order.
std::vector<std::string> DictionaryKeys() {
    const std::string text = WinIniText();
    const std::size_t section = text.find("[Dictionary]");
    std::istringstream in(text.substr(section, text.find("\n[", section) - section));
    std::vector<std::string> keys;
    for (std::string line; std::getline(in, line);)
        if (line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
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

// Values as stored, cut and not numbers; then changed values and known positions come back.
TEST_F(SettingsTest, ValuesAsStoredAndAsChanged) {
    const std::pair<const char*, std::string> stored[] = {
        {"guifont", std::string(58, 'f')}, {"colorR", "abc"},         {"colorB", "120xyz"},
        {"AnimationPause", "250"},         {"WinPosLeftAdd", "40"},   {"WinPosTopAdd", "9999"},
        {"WinPosLeftSearch", "-20"},       {"WinPosTopSearch", "15"},
    };
    for (auto [key, value] : stored) Put(key, value);
    ReadAll();
    EXPECT_EQ(Settings.guifont, std::string(48, 'f'));
    EXPECT_EQ((std::vector<int>{Settings.colorR, Settings.colorB, Settings.aviDelay, Settings.searchWindow.left}),
              (std::vector<int>{0, 120, 250, -20}));
    EXPECT_FALSE(Settings.addWindow.Known());  // a top of 9999 is a window never placed

    Settings.PracticeMode = 1;
    Settings.searchWindow = {33, 44};
    Settings.PracticeList = "week1";
    Settings.ListID = 801;
    WriteSettings({});
    Settings = SettingsValues{};
    ReadAll();
    EXPECT_EQ((std::vector<int>{Settings.PracticeMode, Settings.searchWindow.left, Settings.searchWindow.top}),
              (std::vector<int>{1, 33, 44}));
    EXPECT_FALSE(Settings.mainWindow.Known());
    // An empty current list leaves the stored one alone.
    Settings.PracticeList.clear();
    Settings.ListID = 800;
    WriteSettings({});
    ReadPracticeListSettings();
    EXPECT_EQ(std::tuple(Settings.PracticeList, Settings.ListID), std::tuple("week1", 801));
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
