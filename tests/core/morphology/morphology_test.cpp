#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lookup/reading.h"
#include "core/morphology/dictionary_files.h"
#include "core/morphology/forms_table.h"
#include "core/morphology/language_morphology.h"
#include "core/morphology/word_lookup.h"
#include "core/morphology/word_rules.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

// A small German-like Hunspell dictionary, written by hand: -en and -e endings by rule.
const char* kGermanAff = "SET UTF-8\nSFX N Y 1\nSFX N 0 en .\nSFX E Y 1\nSFX E 0 e .\n";
const char* kGermanDic = "3\nBericht/NE\nHaus\ngehen\n";

void WriteGerman(const std::string& forms = "ging\tgehen\nim\tin\n") {
    std::filesystem::create_directory("morphology");
    WriteFile("morphology/german.aff", kGermanAff);
    WriteFile("morphology/german.dic", kGermanDic);
    WriteFile("morphology/german.forms", forms);
}

// Finds the words of `held`, counting every look.
struct WordFile {
    std::vector<std::string> held;
    int looks = 0;
    FindHeld Finder() {
        return [this](const std::string& word) {
            ++looks;
            for (std::size_t i = 0; i < held.size(); ++i)
                if (held[i] == word) return static_cast<std::int32_t>(i);
            return -1;
        };
    }
};

using MorphologyTest = InWorkDir;

struct FormsCase {
    const char* text;
    std::size_t line;  // of the finding; 0 for none
};

TEST(FormsTable, DamageIsNamedByLineAndEmptiesTheTable) {
    const FormsCase cases[] = {
        {"ging\tgehen\n# comment\n\r\nim\tin\r\n", 0},
        {"\xEF\xBB\xBFging\tgehen\n", 0},
        {"ging\tgehen\nno tab here\n", 2},
        {"ging\tgehen\n\tgehen\n", 2},
        {"ging\t\n", 1},
        {"a\tb\tc\n", 1},
        {"ging\tgehen\nx\xFF\ty\n", 2},
        {"ging\tgehen\nbin\x01\tsein\n", 2},
    };
    for (const FormsCase& c : cases) {
        std::vector<MorphologyFinding> findings;
        const std::string text(c.text);
        const FormsTable table = ReadFormsTable(text, 1252, "g.forms", findings);
        if (c.line == 0) {
            EXPECT_TRUE(findings.empty()) << c.text;
            EXPECT_NE(BasesOf(table, "ging"), nullptr) << c.text;
        } else {
            ASSERT_EQ(findings.size(), 1u) << c.text;
            EXPECT_EQ(findings[0].line, c.line) << c.text;
            EXPECT_EQ(findings[0].file, "g.forms");
            EXPECT_TRUE(table.bases.empty()) << c.text;
        }
    }
}

TEST(FormsTable, BinaryAndOverlongLinesAreDamage) {
    std::vector<MorphologyFinding> findings;
    ReadFormsTable(std::string("ging\tgehen\nab\0c\td\n", 18), 1252, "f", findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].line, 2u);
    findings.clear();
    ReadFormsTable("ging\tgehen\n" + std::string(kMaxFormsLineBytes + 1, 'a') + "\tb\n", 1252, "f", findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].line, 2u);
}

TEST(FormsTable, FormsAreConvertedToThePairsCodePageAndOthersLeftOut) {
    std::vector<MorphologyFinding> findings;
    const FormsTable table = ReadFormsTable("wäre\tsein\nλόγου\tλόγος\n", 1252, "f", findings);
    EXPECT_TRUE(findings.empty());
    ASSERT_NE(BasesOf(table, "w\xE4re"), nullptr);
    EXPECT_EQ(BasesOf(table, "w\xE4re")->front(), "sein");
    EXPECT_EQ(table.bases.size(), 1u);
}

TEST(DictionaryFiles, DamageIsNamedByLine) {
    const struct {
        const char* aff;
        const char* dic;
        const char* file;  // "aff" or "dic"
        std::size_t line;
    } cases[] = {
        {"SET UTF-8\nSFX N Y 2\nSFX N 0 en .\n", "1\nHaus\n", "aff", 2},  // a cut affix class
        {"SET ISO8859-12\n", "1\nHaus\n", "aff", 1},                      // no such encoding
        {"SET KLINGON\n", "1\nHaus\n", "aff", 1},
        {"SET UTF-8\nSFX N 0 en .\n", "1\nHaus\n", "aff", 2},  // a rule without a class
        {"SET UTF-8\n", "Haus\n", "dic", 1},                   // no count
        {"SET UTF-8\n", "5\nHaus\nBa", "dic", 0},              // cut: fewer than announced
        {"SET UTF-8\n", "", "dic", 0},
    };
    for (const auto& c : cases) {
        AffixFileCheck affix = CheckAffixFile(c.aff, "a.aff");
        std::vector<MorphologyFinding> findings = affix.findings;
        for (const MorphologyFinding& f : CheckWordsFile(c.dic, "a.dic")) findings.push_back(f);
        ASSERT_EQ(findings.size(), 1u) << c.aff << " / " << c.dic;
        EXPECT_EQ(findings[0].file, std::string("a.") + c.file) << c.aff << " / " << c.dic;
        EXPECT_EQ(findings[0].line, c.line) << c.aff << " / " << c.dic;
    }
    EXPECT_EQ(CheckWordsFile(std::string("2\nHaus\nB\0um\n", 13), "d").front().line, 3u);
    EXPECT_EQ(CheckWordsFile("1\n" + std::string(kMaxDictionaryLineBytes + 1, 'a') + "\n", "d").front().line, 2u);
    EXPECT_TRUE(CheckWordsFile("2\n\tcomment\nHaus\nBaum\n", "d").empty());
    EXPECT_TRUE(CheckWordsFile("5\nHaus\nBaum\n", "d").empty());  // the count is only a hint
}

TEST(DictionaryFiles, SetNamesGiveTheirCodePages) {
    EXPECT_EQ(CodePageOfDictionarySet("UTF-8"), 65001u);
    EXPECT_EQ(CodePageOfDictionarySet("ISO8859-7"), 28597u);
    EXPECT_EQ(CodePageOfDictionarySet("iso-8859-15"), 28605u);
    EXPECT_EQ(CodePageOfDictionarySet("microsoft-cp1251"), 1251u);
    EXPECT_EQ(CodePageOfDictionarySet("ISO8859-"), 0u);
    EXPECT_EQ(CodePageOfDictionarySet("ISO8859-99"), 0u);
    EXPECT_EQ(CheckAffixFile("SFX A Y 0\n", "a").codePage, 28591u);  // Hunspell's default
}

// The dictionaries tools/deps.sh copies from Debian's packages must pass the check, or the
// languages would go without base forms.
TEST(DictionaryFiles, ShippedDictionariesPassTheCheck) {
    const std::filesystem::path dir = std::filesystem::path(DICT_SOURCE_DIR) / "data" / "morphology";
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string path = entry.path().string();
        const std::string extension = entry.path().extension().string();
        if (extension == ".aff") {
            EXPECT_TRUE(CheckAffixFile(ReadFile(path), path).findings.empty()) << path;
        } else if (extension == ".dic") {
            EXPECT_TRUE(CheckWordsFile(ReadFile(path), path).empty()) << path;
        }
        if (extension == ".forms") {
            std::vector<MorphologyFinding> findings;
            EXPECT_FALSE(ReadFormsTable(ReadFile(path), 1252, path, findings).bases.empty()) << path;
            EXPECT_TRUE(findings.empty()) << path;
        }
        checked += extension == ".forms";
    }
    EXPECT_GE(checked, 3);  // english, german, dutch
}

TEST(WordRules, BaseFormsByRule) {
    const struct {
        RuleLanguage language;
        const char* word;
        const char* base;  // "" for none
    } cases[] = {
        {RuleLanguage::English, "isn't", "is"},
        {RuleLanguage::English, "can't", "can"},
        {RuleLanguage::English, "Won't", "Will"},
        {RuleLanguage::English, "man's", "man"},
        {RuleLanguage::English, "boys'", "boys"},
        {RuleLanguage::English, "you're", "you"},
        {RuleLanguage::English, "we\x92ve", "we"},
        {RuleLanguage::English, "'s", ""},
        {RuleLanguage::English, "house", ""},
        {RuleLanguage::French, "l'homme", "homme"},
        {RuleLanguage::French, "qu'il", "il"},
        {RuleLanguage::French, "aujourd'hui", ""},
        {RuleLanguage::German, "gibt's", "gibt"},
        {RuleLanguage::German, "mu\xDF", "muss"},
        {RuleLanguage::German, "Verhandlungen", "Verhandlung"},
        {RuleLanguage::German, "Innen", ""},
        {RuleLanguage::Dutch, "mogelijkheden", "mogelijkheid"},
        {RuleLanguage::Other, "isn't", ""},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> bases = RuleBases(c.language, c.word);
        EXPECT_EQ(bases.empty() ? "" : bases.front(), c.base) << c.word;
    }
}

TEST(WordRules, EdgesOfAWordAreTrimmed) {
    EXPECT_EQ(TrimWordEdges("'hello'"), "hello");
    EXPECT_EQ(TrimWordEdges("'Haus'"), "Haus");
    EXPECT_EQ(TrimWordEdges("Haus-"), "Haus");
    EXPECT_EQ(TrimWordEdges("boys'"), "boys'");  // a plural possessive keeps its apostrophe
    EXPECT_EQ(TrimWordEdges("--"), "");
    EXPECT_EQ(TrimWordEdges("well-known"), "well-known");
}

TEST(WordRules, InitialLettersChangeCaseInTheirCodePage) {
    EXPECT_EQ(LowerInitial("\xC4rger", 1252), "\xE4rger");
    EXPECT_EQ(UpperInitial("\xE4rger", 1252), "\xC4rger");
    EXPECT_EQ(LowerInitial("\xA2\xEB\xEF\xE3\xEF", 1253), "\xDC\xEB\xEF\xE3\xEF");  // Άλογο
    EXPECT_EQ(UpperInitial("\xDC\xEB\xEF\xE3\xEF", 1253), "\xA2\xEB\xEF\xE3\xEF");
    EXPECT_EQ(LowerInitial("1st", 1252), "1st");
}

TEST(Reading, WordsOfATextComeInOrder) {
    EXPECT_EQ(WordsOf("Er ging, 'nach' Hause.\n--"), (std::vector<std::string>{"Er", "ging", "'nach'", "Hause", "--"}));
    EXPECT_EQ(WordsOf(std::string(120, 'a')).front().size(), kMaxLookedUpChars);
}

// A copied or typed text is looked up by its base forms only when it is one word.
TEST(Reading, ASingleWordIsTheTextsOnlyWord) {
    const struct {
        const char* text;
        const char* word;
    } cases[] = {
        {"ging", "ging"},   {" ging\r\n", "ging"}, {"ging,", "ging"},
        {"don't", "don't"}, {"ging nach", ""},     {"abc123def", ""},
        {"", ""},           {" \t", ""},           {"well-known.", "well-known"},
    };
    for (const auto& c : cases) EXPECT_EQ(SingleWord(c.text), c.word) << c.text;
    EXPECT_EQ(SingleWord(std::string(kMaxLookedUpChars, 'a')).size(), kMaxLookedUpChars);
    EXPECT_EQ(SingleWord(std::string(kMaxLookedUpChars + 1, 'a')), "");  // not held whole
}

TEST_F(MorphologyTest, CandidatesComeInOrderAndTheFirstHeldWins) {
    WriteGerman();
    std::vector<MorphologyFinding> findings;
    const LanguageMorphology german("morphology", "german", 1252, findings);
    ASSERT_TRUE(findings.empty());
    ASSERT_TRUE(german.HasDictionary());
    const struct {
        const char* word;
        std::vector<std::string> held;
        Match how;
        const char* found;
    } cases[] = {
        {"Berichten", {"Berichten", "Bericht"}, Match::Exact, "Berichten"},
        {"Berichten", {"Bericht"}, Match::Base, "Bericht"},
        {"ging", {"gehen"}, Match::Base, "gehen"},
        {"Ging", {"gehen"}, Match::Base, "gehen"},  // a sentence's first word
        {"Polizeiberichten", {"Bericht"}, Match::Part, "Bericht"},
        {"Polizeiberichten", {"Polizei"}, Match::None, ""},
        {"Brot", {"rot"}, Match::None, ""},  // the part before would be one letter
        {"Rathaus", {"Haus"}, Match::Part, "Haus"},
        {"Sahne-Sauce", {"Sauce"}, Match::Part, "Sauce"},
        {"'Haus'", {"Haus"}, Match::Exact, "Haus"},
        {"--", {"--"}, Match::None, ""},
    };
    for (const auto& c : cases) {
        WordFile file{c.held};
        const LookupResult found = LookUp(&german, c.word, file.Finder());
        EXPECT_EQ(found.how, c.how) << c.word;
        EXPECT_EQ(found.candidate, c.found) << c.word;
    }
    const std::vector<Candidate> all = Candidates(&german, "Berichten");
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0].word, "Berichten");
    EXPECT_EQ(all[0].how, Match::Exact);
    EXPECT_EQ(all[1].how, Match::Base);
}

TEST_F(MorphologyTest, EnglishContractionsReachTheirBaseThroughTheTable) {
    std::filesystem::create_directory("morphology");
    WriteFile("morphology/english.forms", "is\tbe\nmice\tmouse\n");
    std::vector<MorphologyFinding> findings;
    const LanguageMorphology english("morphology", "english-us", 1252, findings);
    WordFile file{{"be", "mouse", "man"}};
    EXPECT_EQ(LookUp(&english, "isn't", file.Finder()).candidate, "be");
    EXPECT_EQ(LookUp(&english, "Mice", file.Finder()).candidate, "mouse");
    EXPECT_EQ(LookUp(&english, "man's", file.Finder()).how, Match::Base);
    EXPECT_EQ(LookUp(&english, "mouses", file.Finder()).how, Match::None);  // no dictionary: no stems
}

TEST_F(MorphologyTest, ADamagedFileLeavesTheLanguageWithoutBaseForms) {
    WriteGerman("ging\tgehen\nbroken line\n");
    std::vector<MorphologyFinding> findings;
    const LanguageMorphology german("morphology", "german", 1252, findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].line, 2u);
    EXPECT_FALSE(german.HasDictionary());
    WordFile file{{"gehen", "Bericht"}};
    EXPECT_EQ(LookUp(&german, "ging", file.Finder()).how, Match::None);
    EXPECT_EQ(LookUp(&german, "Berichten", file.Finder()).how, Match::None);
}

TEST_F(MorphologyTest, AMissingDictionaryMeansOnlyTheWordItself) {
    std::vector<MorphologyFinding> findings;
    const LanguageMorphology german("morphology", "german", 1252, findings);
    EXPECT_TRUE(findings.empty());
    WordFile file{{"Bericht", "gehen"}};
    EXPECT_EQ(LookUp(&german, "Berichten", file.Finder()).how, Match::None);
    EXPECT_EQ(LookUp(&german, "Bericht", file.Finder()).how, Match::Exact);
    EXPECT_EQ(LookUp(nullptr, "Bericht", file.Finder()).how, Match::Exact);
}

// A long word tries no more candidates than a normal compound does.
TEST_F(MorphologyTest, ALongWordCostsNoMoreThanACompound) {
    WriteGerman();
    std::vector<MorphologyFinding> findings;
    const LanguageMorphology german("morphology", "german", 1252, findings);
    WordFile normal, longWord, foreign;
    LookUp(&german, "Gerichtsverhandlungsprotokoll", normal.Finder());
    LookUp(&german, std::string(kMaxLookedUpChars, 'x'), longWord.Finder());
    LookUp(&german, std::string(40, '\xE9'), foreign.Finder());
    EXPECT_LE(longWord.looks, normal.looks);
    EXPECT_LE(foreign.looks, normal.looks);
}

// The dictionary's encoding is met at the edge: a pair in code page 1253 asks an ISO
// 8859-7 dictionary, where Ά has another byte.
TEST_F(MorphologyTest, TheDictionarysEncodingIsConvertedBothWays) {
    std::filesystem::create_directory("morphology");
    WriteFile("morphology/greek.aff", "SET ISO8859-7\nSFX A Y 1\nSFX A 0 \xF5 .\n");
    WriteFile("morphology/greek.dic", "1\n\xB6\xEB\xEF\xE3\xEF/A\n");
    std::vector<MorphologyFinding> findings;
    const LanguageMorphology greek("morphology", "greek", 1253, findings);
    ASSERT_TRUE(findings.empty());
    WordFile file{{"\xA2\xEB\xEF\xE3\xEF"}};
    const LookupResult found = LookUp(&greek, "\xA2\xEB\xEF\xE3\xEF\xF5", file.Finder());
    EXPECT_EQ(found.how, Match::Base);
    EXPECT_EQ(found.candidate, "\xA2\xEB\xEF\xE3\xEF");
}

TEST_F(MorphologyTest, ALanguageIsLoadedOnceAndFallsBackToItsMainLocale) {
    WriteGerman();
    WordListDescriptor swiss{}, english{};
    std::snprintf(swiss.locale, sizeof swiss.locale, "german-swiss");
    std::snprintf(english.locale, sizeof english.locale, "english");
    const LanguageMorphology* first = &MorphologyOf(swiss);
    EXPECT_TRUE(first->HasDictionary());
    EXPECT_EQ(&MorphologyOf(swiss), first);
    ReleaseMorphologyUnlessFor(swiss);
    EXPECT_EQ(&MorphologyOf(swiss), first);
    EXPECT_FALSE(MorphologyOf(english).HasDictionary());
    ReleaseMorphology();
}

// The open word file's record of a base form, from a dictionary loaded once; it stays
// while the pair keeps its language and goes when a pair of another one is selected.
TEST_F(MorphologyTest, APairSwitchToAnotherLanguageReleasesTheDictionary) {
    OpenPair("[languages]\ngerman,german,0\nfrench,french,0\n",
             {Record("Bericht", "bericht"), Record("gehen", "gaan")});
    WriteGerman();
    const LookupResult found = LookUpInWordFile("ging");
    EXPECT_EQ(found.how, Match::Base);
    EXPECT_EQ(found.index, 1);
    const LanguageMorphology* german = LoadedMorphology();
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(LookUpInWordFile("Polizeiberichten").how, Match::Part);
    EXPECT_EQ(LoadedMorphology(), german);
    SelectPair();  // the same pair again
    EXPECT_EQ(LoadedMorphology(), german);
    CurrentPair = PairAt(1);  // french
    SelectPair();
    EXPECT_EQ(LoadedMorphology(), nullptr);
    EXPECT_EQ(LookUpInWordFile("ging").how, Match::None);
    ReleaseMorphology();
}

}  // namespace
