#include "core/editing/new_language.h"

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "test_support.h"

namespace {

class NewLanguageTest : public InWorkDir {
protected:
    void SetUp() override {
        UseCatalogue(kCatalogue);
        for (const char* d : {"words", "icons"}) std::filesystem::create_directories(d);
    }
    static constexpr const char* kCatalogue =
        "# mine\r\n[languages]\r\ngerman\r\nlongname,greek,161,Modern Greek\r\n\r\n[selected]\r\ndut_ger.gk\r\n";
};

}  // namespace

// A name whose files another language has already, as the file system compares names
// (without case, in the system code page), is refused with that language's name.
TEST_F(NewLanguageTest, NamesThatCannotBeANewLanguage) {
    UseCatalogue("[languages]\ngerman\nlongname,greek,161,Modern Greek\nlongname,spanish,0,espa\xF1ol\n\n");
    using enum NewLanguageProblem;
    const struct {
        std::string name;
        NewLanguageProblem problem;
        const char* existing;  // the name as the catalogue spells it
    } cases[] = {{"", EmptyName, ""},
                 {"DUTCH", NotAllowed, ""},
                 {"Klingon, old", NotAllowed, ""},
                 {std::string(81, 'k'), NotAllowed, ""},  // the line would be cut when read
                 {"modern greek", Exists, "Modern Greek"},
                 {"Ger", Exists, "german"},             // ger.ico
                 {"ESPA\xD1OL", Exists, "espa\xF1ol"},  // every file
                 {"DUT", Exists, "dutch"},              // the main language's dut.ico
                 {"Germ", None, ""},
                 {"espa\xF1ola", None, ""},
                 {"Tlh Ingan-Hol 2", None, ""}};
    for (const auto& c : cases) {
        std::string existing;
        EXPECT_EQ(CheckNewLanguageName(c.name, "english-usa", 238, existing), c.problem) << c.name;
        EXPECT_EQ(existing, c.existing) << c.name;
    }
}

// A word file left from before keeps its words.
TEST_F(NewLanguageTest, CreatesTheLineTheFilesAndTheIcon) {
    WriteRecords("words/Klingon_dutch.gk", {Record("Qapla'", "succes")});
    const std::string icon(1078, '\x42');
    const NewLanguageResult result = CreateNewLanguage("Klingon", "english", 0, icon.data(), icon.size());
    EXPECT_EQ(std::tuple(result.catalogue, result.wordFilesFailed, result.iconFailed),
              std::tuple(CatalogueWrite::Done, 0, false));
    std::string expected = kCatalogue;
    expected.insert(expected.find("\r\n\r\n[selected]") + 2, "longname,english,0,Klingon\r\n");
    EXPECT_EQ(ReadFile("cat.ini"), expected);
    EXPECT_FALSE(Exists("tmp.ini"));
    EXPECT_EQ(ReadFile("words/dutch_Klingon.gk").size(), 0u);
    EXPECT_EQ(ReadRecords("words/Klingon_dutch.gk").size(), 1u);
    EXPECT_EQ(ReadFile("icons/Klingon.ico"), icon);

    // The language is there at once, and the current pair stays current.
    WriteEmptyWordFiles();
    CurrentPair = PairAt(2);  // dutch into german
    ASSERT_EQ(ReloadCatalogue(), 0);
    ASSERT_EQ(PairCount(), 6);
    EXPECT_STREQ(PairAt(2)->name1, "Klingon");
    EXPECT_STREQ(CurrentPair->name2, "german");
    EXPECT_EQ(CurrentPair->selected, 1);
}

TEST_F(NewLanguageTest, TheLineGoesWhereTheSectionEnds) {
    const std::pair<const char*, const char*> cases[] = {
        {"[languages]\ngerman\n# end\nx\n", "[languages]\ngerman\nlongname,german,0,K\n# end\nx\n"},
        {"[languages]\ngerman", "[languages]\ngerman\nlongname,german,0,K\n"},
        {"[Languages]\r\ngerman\r\n", "[Languages]\r\ngerman\r\nlongname,german,0,K\r\n"},
        // After a last line ended in CR alone, the new line ends as that one does.
        {"[languages]\r\ngerman\r", "[languages]\r\ngerman\rlongname,german,0,K\r"}};
    for (auto [before, after] : cases) {
        WriteFile("cat.ini", before);
        EXPECT_EQ(AddLanguageLine(NewLanguageLine("german", 0, "K")), CatalogueWrite::Done);
        EXPECT_EQ(ReadFile("cat.ini"), after);
    }
    WriteFile("cat.ini", "[selected]\nx.gk\n");
    EXPECT_EQ(AddLanguageLine("longname,german,0,K"), CatalogueWrite::NoCatalogue);
    EXPECT_EQ(ReadFile("cat.ini"), "[selected]\nx.gk\n");
}
