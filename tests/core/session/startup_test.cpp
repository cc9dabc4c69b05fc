#include "core/session/startup.h"

#include "core/settings/settings.h"
#include "test_support.h"

// "record" alone, in any case, starts the recorder; "gk" after any one character names the
// pair to open, up to the next "/".
TEST(Startup, CommandLine) {
    EXPECT_TRUE(ParseCommandLine("RECORD").recorderMode);
    for (const char* text : {"record ", "record /gk english"})
        EXPECT_FALSE(ParseCommandLine(text).recorderMode) << text;
    const std::pair<std::string, std::string> pairs[] = {
        {"record /gk english", ""}, {"/gk english", "english"},
        {"xgk dutch", "dutch"},     {"/gk  two words/rest", " two words"},
        {"/x /gk english", ""},     {"/gk " + std::string(120, 'e'), std::string(95, 'e')},
    };
    for (const auto& [text, pair] : pairs) EXPECT_EQ(ParseCommandLine(text).requestedPair, pair) << text;
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
