#include "core/catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "test_support.h"

namespace {

struct PairView {
    std::string name1, name2, wordFile, listFile, locale;
    int charset1, charset2;
};

std::vector<PairView> Pairs() {
    std::vector<PairView> pairs;
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next)
        pairs.push_back({d->name1, d->name2, WordFileName(*d), ListFileName(*d), d->locale, d->charset1, d->charset2});
    return pairs;
}

class CatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        UseStrings();
        Settings.PracticeList.clear();
    }
    void TearDown() override { CloseStore(); }
    WorkDir dir;
};

}  // namespace

TEST_F(CatalogueTest, OneLanguageGivesForwardAndReversePair) {
    WriteFile("cat.ini", "[languages]\ngerman,german,0\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    ASSERT_EQ(PairCount(), 2);
    std::vector<PairView> p = Pairs();
    EXPECT_EQ(p[0].name1, "german");
    EXPECT_EQ(p[0].name2, "dutch");
    EXPECT_EQ(p[0].wordFile, "ger_dut.gk");
    EXPECT_EQ(p[0].listFile, "ger_dut.ls");
    EXPECT_EQ(p[1].name1, "dutch");
    EXPECT_EQ(p[1].wordFile, "dut_ger.gk");
    EXPECT_EQ(p[1].listFile, "dut_ger.ls");
    EXPECT_EQ(p[1].locale, "dutch");
    EXPECT_EQ(std::string(PairAt(0)->icon1Short), "ger.ico");
    EXPECT_EQ(std::string(PairAt(1)->icon1Short), "dut.ico");
    EXPECT_EQ(CurrentPair, PairAt(1));
}

TEST_F(CatalogueTest, FieldDefaultsAndCharsets) {
    WriteFile("cat.ini", "[LANGUAGES]\nfrench\ngreek,greek,161\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    WriteFile("cat.ini", "[languages]\nportugues,portuguese-brazilian,0\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    EXPECT_STREQ(PairAt(0)->locale, "portuguese-brazilian");  // the longest locale name, whole
    WriteFile("cat.ini", "[LANGUAGES]\nfrench\ngreek,greek,161\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    std::vector<PairView> p = Pairs();
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].locale, "english");
    EXPECT_EQ(p[0].charset1, 0);
    EXPECT_EQ(p[1].charset1, 161);
    // Reverse pairs: forward pairs' order, the main language's locale and charset first.
    EXPECT_EQ(p[2].name2, "french");
    EXPECT_EQ(p[3].name2, "greek");
    EXPECT_EQ(p[3].charset1, 0);
    EXPECT_EQ(p[3].charset2, 161);
}

TEST_F(CatalogueTest, LongNamesNameTheFilesAndSurviveLaterShortLines) {
    WriteFile("cat.ini", "[languages]\nlongname,greek,161,Modern Greek\nfrench,french\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    std::vector<PairView> p = Pairs();
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].name1, "Modern Greek");
    EXPECT_EQ(p[0].wordFile, "Modern Greek_dutch.gk");
    EXPECT_EQ(p[0].listFile, "Modern Greek_dutch.ls");
    EXPECT_EQ(p[2].name2, "Modern Greek");
    EXPECT_EQ(p[2].wordFile, "dutch_Modern Greek.gk");
    EXPECT_EQ(std::string(Icon1Name(*PairAt(2))), "dutch.ico");
    EXPECT_EQ(std::string(Icon2Name(*PairAt(2))), "Modern Greek.ico");
    EXPECT_EQ(p[1].wordFile, "fre_dut.gk");
    EXPECT_EQ(p[3].wordFile, "dut_fre.gk");
    EXPECT_EQ(ReversePair(*PairAt(0)), PairAt(2));
    EXPECT_EQ(ReversePair(*PairAt(3)), PairAt(1));
}

TEST_F(CatalogueTest, SectionEndsAtEmptyOrCommentLine) {
    WriteFile("cat.ini", "french\n[languages]\ngerman\n# comment\nspanish\n\n[languages]\nitalian\n\nrussian\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    std::vector<PairView> p = Pairs();
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].name1, "german");
    EXPECT_EQ(p[1].name1, "italian");
}

TEST_F(CatalogueTest, FailsWithoutFileOrLanguage) {
    EXPECT_EQ(BuildCatalogue(), -1);
    WriteFile("cat.ini", "[selected]\nger_dut.gk\n[languages]\n\n");
    EXPECT_EQ(BuildCatalogue(), -1);
    EXPECT_EQ(PairCount(), 0);
}

TEST_F(CatalogueTest, OverlongLineIsCutNotSplit) {
    std::string longLine = "german,german,0," + std::string(200, 'x');
    WriteFile("cat.ini", "[languages]\n" + longLine + "\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    EXPECT_EQ(PairCount(), 2);
    EXPECT_EQ(std::string(PairAt(0)->longName), std::string(99 - 16, 'x'));
}

TEST_F(CatalogueTest, ShortLanguageNamesKeepTheirStems) {
    WriteFile("cat.ini", "[languages]\nga,irish\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    EXPECT_STREQ(PairAt(0)->wordFileShort, "ga_dut.gk");
    EXPECT_STREQ(PairAt(1)->wordFileShort, "dut_ga.gk");
    EXPECT_STREQ(PairAt(1)->listFileShort, "dut_ga.ls");
}

TEST_F(CatalogueTest, SelectionChoosesPairInAnyCase) {
    WriteFile("cat.ini", "[languages]\ngerman\nfrench\n\n[Selected]\nDUT_FRE.GK\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    ASSERT_EQ(ReadSelectedPair(), 0);
    EXPECT_EQ(CurrentPair, PairAt(3));
    EXPECT_EQ(PairAt(3)->selected, 1);
    EXPECT_EQ(PairAt(2)->selected, 0);

    WriteFile("cat.ini", "[languages]\ngerman\n\n[selected]\nnothing.gk\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    ASSERT_EQ(ReadSelectedPair(), 0);
    EXPECT_EQ(CurrentPair, PairAt(1));
}

TEST_F(CatalogueTest, SelectPairRewritesOnlyTheSelectionLine) {
    const std::string before =
        "# my languages\r\n[languages]\r\ngerman,german,0\r\nfrench\r\n\r\n[selected]\r\ndut_ger.gk\r\n# end\r\n";
    WriteFile("cat.ini", before);
    for (const char* f : {"ger_dut.gk", "fre_dut.gk", "dut_ger.gk", "dut_fre.gk"}) WriteRecords(std::string("words/") + f, {});
    ASSERT_EQ(BuildCatalogue(), 0);
    ASSERT_EQ(ReadSelectedPair(), 0);
    OpenStore();
    CountRecords();

    CurrentPair = PairAt(1);
    EXPECT_EQ(SelectPair(), 0);
    std::string expected = before;
    expected.replace(expected.find("dut_ger.gk"), 10, "fre_dut.gk");
    EXPECT_EQ(ReadFile("cat.ini"), expected);
    EXPECT_FALSE(Exists("tmp.ini"));

    // The next start finds the new selection.
    ASSERT_EQ(BuildCatalogue(), 0);
    ReadSelectedPair();
    EXPECT_EQ(CurrentPair, PairAt(1));
}

TEST_F(CatalogueTest, SelectPairAddsSelectionAfterHeaderOnLastLine) {
    WriteFile("cat.ini", "[languages]\ngerman\n\n[selected]");
    WriteRecords("words/dut_ger.gk", {});
    WriteRecords("words/ger_dut.gk", {});
    ASSERT_EQ(BuildCatalogue(), 0);
    CurrentPair = PairAt(0);
    EXPECT_EQ(SelectPair(), 0);
    EXPECT_EQ(ReadFile("cat.ini"), "[languages]\ngerman\n\n[selected]\nger_dut.gk\n");
}

TEST_F(CatalogueTest, SelectPairFailureStillSwitchesStore) {
    WriteFile("cat.ini", "[languages]\ngerman\n");
    WriteRecords("words/ger_dut.gk", {Record("Haus", "huis")});
    WriteRecords("words/dut_ger.gk", {});
    ASSERT_EQ(BuildCatalogue(), 0);
    std::filesystem::remove("cat.ini");
    CurrentPair = PairAt(0);
    EXPECT_EQ(SelectPair(), -1);
    EXPECT_EQ(WordCount, 1);
    EXPECT_FALSE(Exists("tmp.ini"));
}

TEST_F(CatalogueTest, RandomCataloguesNeverBreakTheRules) {
    std::mt19937 random(777);
    const std::string pieces[] = {"[languages]", "[selected]", "german", "fr,french,1252,Français", ",", "#", "",
                                  "x,y,z,w,v", "ab", std::string(150, 'q'), "longname,,,L", "\r"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = 0, n = static_cast<int>(random() % 12); i < n; ++i) {
            text += pieces[random() % std::size(pieces)];
            if (random() % 3) text += random() % 2 ? "\n" : ",";
            if (random() % 10 == 0) text += static_cast<char>(random());
        }
        WriteFile("cat.ini", text);
        if (BuildCatalogue() != 0) continue;
        EXPECT_EQ(PairCount() % 2, 0);
        EXPECT_EQ(CurrentPair, PairAt(PairCount() / 2));
        EXPECT_EQ(ReadSelectedPair(), 0);
        // Every forward pair has its reverse, and every pair names a word file.
        for (int i = 0; i < PairCount(); ++i) {
            EXPECT_NE(WordFileName(*PairAt(i))[0], '\0');
            EXPECT_NE(ReversePair(*PairAt(i)), nullptr) << PairAt(i)->name1;
        }
    }
}
