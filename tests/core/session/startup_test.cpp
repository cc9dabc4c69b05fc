#include "core/session/startup.h"

#include "core/settings/settings.h"
#include "test_support.h"

TEST(Startup, CommandLine) {
    struct Case {
        std::string text;
        bool recorder;
        std::string pair;
    } cases[] = {
        {"RECORD", true, ""},
        {"record ", false, ""},
        {"record /gk english", false, ""},
        {"/gk english", false, "english"},
        {"xgk dutch", false, "dutch"},
        {"/gk  two words/rest", false, " two words"},
        {"/x /gk english", false, ""},
        {"/gk " + std::string(120, 'e'), false, std::string(95, 'e')},
    };
    for (const Case& c : cases) {
        CommandLine line = ParseCommandLine(c.text);
        EXPECT_EQ(line.recorderMode, c.recorder) << c.text;
        EXPECT_EQ(line.requestedPair, c.pair) << c.text;
    }
}

TEST(Startup, SavedPracticeListMustStillExist) {
    WorkDir dir;
    UseStrings();
    ResetWinIni();
    // Saved in another letter case: the list as the disk spells it, its place kept.
    std::filesystem::create_directories("lists/week1");
    Settings.PracticeList = "WEEK1";
    Settings.ListID = 803;
    WriteSettings({});
    CheckSavedPracticeList();
    EXPECT_EQ(Settings.PracticeList, "week1");
    EXPECT_EQ(Settings.ListID, 803);

    std::filesystem::remove("lists/week1");
    CheckSavedPracticeList();
    EXPECT_EQ(Settings.PracticeList, "");
    EXPECT_EQ(Settings.ListID, 800);
}
