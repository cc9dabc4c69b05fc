#include "core/catalogue/catalogue.h"

#include <filesystem>

#include "core/session/session.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

// One pair as the tests compare it: names, word file, list file, locale, charsets, icons.
std::string View(const WordListDescriptor& d) {
    return std::string(d.name1) + "|" + d.name2 + "|" + WordFileName(d) + "|" + ListFileName(d) + "|" + d.locale + "|" +
           std::to_string(d.charset1) + "|" + std::to_string(d.charset2) + "|" + Icon1Name(d) + "|" + Icon2Name(d);
}

using CatalogueTest = InWorkDir;

}  // namespace

TEST_F(CatalogueTest, LinesGiveForwardPairsThenTheirReverses) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"[languages]\ngerman,german,0\n",
         {"german|dutch|ger_dut.gk|ger_dut.ls|german|0|0|ger.ico|dut.ico",
          "dutch|german|dut_ger.gk|dut_ger.ls|dutch|0|0|dut.ico|ger.ico"}},
        // Header in any case; missing fields and an empty locale take english and 0.
        {"[LANGUAGES]\nfrench\ngreek,,161\n",
         {"french|dutch|fre_dut.gk|fre_dut.ls|english|0|0|fre.ico|dut.ico",
          "greek|dutch|gre_dut.gk|gre_dut.ls|english|161|0|gre.ico|dut.ico",
          "dutch|french|dut_fre.gk|dut_fre.ls|dutch|0|0|dut.ico|fre.ico",
          "dutch|greek|dut_gre.gk|dut_gre.ls|dutch|0|161|dut.ico|gre.ico"}},
        // A long name names the files; the short ones come from the line's first field.
        {"[languages]\nlongname,greek,161,Modern Greek\nga,irish\n",
         {"Modern Greek|dutch|Modern Greek_dutch.gk|Modern Greek_dutch.ls|greek|161|0|Modern Greek.ico|dutch.ico",
          "ga|dutch|ga_dut.gk|ga_dut.ls|irish|0|0|ga.ico|dut.ico",
          "dutch|Modern Greek|dutch_Modern Greek.gk|dutch_Modern Greek.ls|dutch|0|161|dutch.ico|Modern Greek.ico",
          "dutch|ga|dut_ga.gk|dut_ga.ls|dutch|0|0|dut.ico|ga.ico"}},
        // The section ends at an empty or comment line and opens again at a repeated header.
        {"french\n[languages]\ngerman\n# comment\nspanish\n\n[languages]\nitalian\n\nrussian\n",
         {"german|dutch|ger_dut.gk|ger_dut.ls|english|0|0|ger.ico|dut.ico",
          "italian|dutch|ita_dut.gk|ita_dut.ls|english|0|0|ita.ico|dut.ico",
          "dutch|german|dut_ger.gk|dut_ger.ls|dutch|0|0|dut.ico|ger.ico",
          "dutch|italian|dut_ita.gk|dut_ita.ls|dutch|0|0|dut.ico|ita.ico"}},
    };
    for (const auto& [catalogue, pairs] : cases) {
        UseCatalogue(catalogue);
        std::vector<std::string> views;
        for (WordListDescriptor* d = CatalogueHead; d; d = d->next) views.push_back(View(*d));
        EXPECT_EQ(views, pairs) << catalogue;
        for (int i = 0; i < PairCount(); ++i)  // each pair's reverse, in the other half
            EXPECT_EQ(ReversePair(*PairAt(i)), PairAt((i + PairCount() / 2) % PairCount())) << i;
    }
}

TEST_F(CatalogueTest, LongFieldsAndBadFiles) {
    UseCatalogue("[languages]\nportugues,portuguese-brazilian,0\n");
    EXPECT_STREQ(PairAt(0)->locale, "portuguese-brazilian");  // the longest locale name, whole
    UseCatalogue("[languages]\ngerman,german,0," + std::string(200, 'x') + "\n");
    EXPECT_EQ(PairCount(), 2);  // an overlong line is cut, not split
    EXPECT_EQ(std::string(PairAt(0)->longName), std::string(99 - 16, 'x'));
    // A catalogue with no languages is refused (a missing one is the command line's test).
    WriteFile("cat.ini", "[selected]\nger_dut.gk\n[languages]\n\n");
    EXPECT_EQ(BuildCatalogue(), -1);
    EXPECT_EQ(PairCount(), 2);  // the catalogue in use stays
}

// The selection names its pair in any case; one naming no pair leaves the first reverse pair.
// Selecting rewrites only the selection line, which a header on the last line gets; lines
// may end in CR alone (catalogues edited elsewhere), each such line a line of its own.
TEST_F(CatalogueTest, ASelectionIsReadAndRewrittenInPlace) {
    const struct {
        std::string catalogue;
        int selected, select;  // the pair read, the pair then selected
        std::string after;
    } cases[] = {
        {"# my languages\r\n[languages]\r\ngerman,german,0\r\nfrench\r\n\r\n[selected]\r\ndut_ger.gk\r\n# end\r\n", 2,
         1, "# my languages\r\n[languages]\r\ngerman,german,0\r\nfrench\r\n\r\n[selected]\r\nfre_dut.gk\r\n# end\r\n"},
        {"[languages]\rgerman,german,0\rfrench\r\r[Selected]\rDUT_FRE.GK\r", 3, 2,
         "[languages]\rgerman,german,0\rfrench\r\r[Selected]\rdut_ger.gk\r"},
        {"[languages]\ngerman\nfrench\n\n[selected]\nnothing.gk\n", 2, 0,
         "[languages]\ngerman\nfrench\n\n[selected]\nger_dut.gk\n"},
        // A long-named pair is also selected by the short name of its line's first field.
        {"[languages]\nlongname,greek,161,Modern Greek\n\n[selected]\nLON_DUT.gk\n", 0, 1,
         "[languages]\nlongname,greek,161,Modern Greek\n\n[selected]\ndutch_Modern Greek.gk\n"},
        {"[languages]\ngerman\n\n[selected]", 1, 0, "[languages]\ngerman\n\n[selected]\nger_dut.gk\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.catalogue);
        UseCatalogue(c.catalogue);
        WriteEmptyWordFiles();
        ASSERT_EQ(ReadSelectedPair(), 0);
        EXPECT_EQ(CurrentPair, PairAt(c.selected));
        CurrentPair = PairAt(c.select);
        EXPECT_EQ(SelectPair(), 0);
        EXPECT_EQ(ReadFile("cat.ini"), c.after);
        EXPECT_FALSE(Exists("tmp.ini"));
    }
    // A selection that cannot be saved still switches the store.
    WriteRecords("words/ger_dut.gk", {Record("Haus", "huis")});
    std::filesystem::remove("cat.ini");
    EXPECT_EQ(SelectPair(), -1);
    EXPECT_EQ(WordCount, 1);
    EXPECT_FALSE(Exists("tmp.ini"));
}
