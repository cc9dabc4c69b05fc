#include "core/session/startup.h"

#include <gtest/gtest.h>

#include "core/catalogue/catalogue.h"
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

TEST(Startup, RequestedPairMatchesByPrefix) {
    WorkDir dir;
    UseCatalogue("[languages]\nenglish\nfrench\n");
    // 0 english-dutch, 1 french-dutch, 2 dutch-english, 3 dutch-french
    struct Case {
        int current;
        std::string requested;
        int expected;
    } cases[] = {
        {2, "english", 2}, {1, "eng", 0}, {1, "ENGLISH", 0}, {1, "spanish", 1}, {1, "", 1}, {3, "french", 3},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < PairCount(); ++i) PairAt(i)->selected = 0;
        CurrentPair = PairAt(c.current);
        CurrentPair->selected = 1;
        ApplyRequestedPair(c.requested);
        EXPECT_EQ(CurrentPair, PairAt(c.expected)) << c.current << " " << c.requested;
        EXPECT_EQ(CurrentPair->selected, 1);
        EXPECT_EQ(PairAt(c.current)->selected, c.expected == c.current ? 1 : 0);
    }
}

TEST(Startup, SavedPracticeListMustStillExist) {
    WorkDir dir;
    UseStrings();
    ResetWinIni();
    std::filesystem::create_directories("lists/week1");
    Settings.PracticeList = "week1";
    Settings.ListID = 803;
    WriteSettings({});
    CheckSavedPracticeList();
    EXPECT_EQ(Settings.PracticeList, "week1");
    EXPECT_EQ(Settings.ListID, 803);

    // Saved in another letter case: the list as the disk spells it.
    Settings.PracticeList = "WEEK1";
    WriteSettings({});
    CheckSavedPracticeList();
    EXPECT_EQ(Settings.PracticeList, "week1");

    std::filesystem::remove("lists/week1");
    CheckSavedPracticeList();
    EXPECT_EQ(Settings.PracticeList, "");
    EXPECT_EQ(Settings.ListID, 800);
}
