#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <tuple>
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
const std::map<std::string, std::string> kGerman = {
    {"aff", "SET UTF-8\nSFX N Y 1\nSFX N 0 en .\nSFX E Y 1\nSFX E 0 e .\n"},
    {"dic", "3\nBericht/NE\nHaus\ngehen\n"},
    {"forms", "ging\tgehen\nim\tin\n"},
};

// Writes a language's files into a morphology directory of their own.
void WriteLanguage(const std::string& name, const std::map<std::string, std::string>& files) {
    std::filesystem::remove_all("morphology");
    std::filesystem::create_directory("morphology");
    for (const auto& [extension, text] : files) WriteFile("morphology/" + name + "." + extension, text);
}

// Finds the words of `held`, counting every look.
struct WordFile {
    std::vector<std::string> held;
    int looks = 0;
    std::int32_t operator()(const std::string& word) {
        ++looks;
        const auto found = std::find(held.begin(), held.end(), word);
        return found == held.end() ? -1 : static_cast<std::int32_t>(found - held.begin());
    }
};

using MorphologyTest = InWorkDir;

// What the check of a language's file finds, by its extension; a forms table with a finding
// is empty.
std::vector<MorphologyFinding> FindingsIn(const std::string& file, const std::string& text) {
    std::vector<MorphologyFinding> findings;
    if (file.ends_with(".aff")) findings = CheckAffixFile(text, file).findings;
    if (file.ends_with(".dic")) findings = CheckWordsFile(text, file);
    if (file.ends_with(".forms")) {
        const bool empty = ReadFormsTable(text, 1252, file, findings).bases.empty();
        EXPECT_EQ(empty, !findings.empty());
    }
    return findings;
}

// A language's files, by extension, and what their check finds.
struct Language {
    const char* locale;
    unsigned codePage;
    std::map<std::string, std::string> files;
    std::size_t damagedLine;  // of the one finding; 0 for none
};

}  // namespace

// Damage in each of a language's files is named by its line (-1: no damage; 0: the whole
// file's). An affix file: a cut class, a set with no code
// page, a rule without a class. A words file: no count, or cut short of it (the count is only
// a hint: more words are no damage).
TEST(DictionaryFiles, DamageIsNamedByLineAndTheShippedFilesHaveNone) {
    const std::tuple<std::string, int, std::vector<std::string>> cases[] = {
        {"g.forms", -1, {"ging\tgehen\n# comment\n\r\nim\tin\r\n", "\xEF\xBB\xBFim\tin\nging\tgehen\n"}},
        {"g.forms", 1, {"ging\t\n", "a\tb\tc\n"}},
        {"g.forms",
         2,
         {"ging\tgehen\nno tab here\n", "ging\tgehen\n\tgehen\n", "ging\tgehen\nx\xFF\ty\n",
          "ging\tgehen\nbin\x01\tsein\n", std::string("ging\tgehen\nab\0c\td\n", 18),
          "ging\tgehen\n" + std::string(kMaxFormsLineBytes + 1, 'a') + "\tb\n"}},
        {"a.aff", 1, {"SET ISO8859-12\n", "SET KLINGON\n"}},
        {"a.aff", 2, {"SET UTF-8\nSFX N Y 2\nSFX N 0 en .\n", "SET UTF-8\nSFX N 0 en .\n"}},
        {"a.dic", -1, {"2\n\tcomment\nHaus\nBaum\n", "5\nHaus\nBaum\n"}},
        {"a.dic", 0, {"5\nHaus\nBa", ""}},
        {"a.dic", 1, {"Haus\n"}},
        {"a.dic", 2, {"1\n" + std::string(kMaxDictionaryLineBytes + 1, 'a') + "\n"}},
        {"a.dic", 3, {std::string("2\nHaus\nB\0um\n", 13)}},
    };
    for (const auto& [file, line, texts] : cases) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(text.substr(0, 40));
            const std::vector<MorphologyFinding> findings = FindingsIn(file, text);
            ASSERT_EQ(findings.size(), line >= 0 ? 1u : 0u);
            for (const MorphologyFinding& f : findings)
                EXPECT_EQ(f.file + ":" + std::to_string(f.line), file + ":" + std::to_string(line));
        }
    }
    // The dictionaries tools/deps.sh copies from Debian's packages pass, or the languages
    // would go without base forms.
    int forms = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(DICT_SOURCE_DIR) + "/data/morphology")) {
        const std::string path = entry.path().string();
        forms += path.ends_with(".forms");
        EXPECT_TRUE(FindingsIn(path, ReadFile(path)).empty()) << path;
    }
    EXPECT_GE(forms, 3);  // english, german, dutch
    // Forms are converted to the pair's code page; those it cannot hold are left out.
    std::vector<MorphologyFinding> findings;
    EXPECT_EQ(ReadFormsTable("wäre\tsein\nλόγου\tλόγος\n", 1252, "f", findings).bases,
              (decltype(FormsTable::bases){{"w\xE4re", {"sein"}}}));
    EXPECT_TRUE(findings.empty());

    // Sets named as Hunspell also takes them (UTF-8 and ISO8859-7 are the look-ups' test's).
    const std::pair<const char*, unsigned> sets[] = {
        {"iso-8859-15", 28605}, {"microsoft-cp1251", 1251}, {"ISO8859-", 0}, {"ISO8859-99", 0}};
    for (auto [set, codePage] : sets) EXPECT_EQ(CodePageOfDictionarySet(set), codePage) << set;
    EXPECT_EQ(CheckAffixFile("SFX A Y 0\n", "a").codePage, 28591u);  // Hunspell's default
}

TEST(WordRules, BaseFormsByRuleAndInitials) {
    using enum RuleLanguage;
    // Each language's words and their first base form ("" for none).
    const std::pair<RuleLanguage, std::vector<std::pair<const char*, const char*>>> cases[] = {
        {English, {{"isn't", "is"}, {"can't", "can"}, {"Won't", "Will"}, {"you're", "you"}, {"we\x92ve", "we"}}},
        {English, {{"man's", "man"}, {"boys'", "boys"}, {"'s", ""}, {"house", ""}}},
        {French, {{"l'homme", "homme"}, {"qu'il", "il"}, {"aujourd'hui", ""}}},
        {German, {{"gibt's", "gibt"}, {"mu\xDF", "muss"}, {"Verhandlungen", "Verhandlung"}, {"Innen", ""}}},
        {Dutch, {{"mogelijkheden", "mogelijkheid"}}},
        {Other, {{"isn't", ""}}},
    };
    for (const auto& [language, words] : cases) {
        for (auto [word, base] : words) {
            const std::vector<std::string> bases = RuleBases(language, word);
            EXPECT_EQ(bases.empty() ? "" : bases.front(), base) << word;
        }
    }
    // Initials change case in their code page: Ä, and the Greek Ά of Άλογο.
    const std::tuple<const char*, unsigned, const char*> initials[] = {
        {"\xC4rger", 1252, "\xE4rger"}, {"\xA2\xEB\xEF\xE3\xEF", 1253, "\xDC\xEB\xEF\xE3\xEF"}, {"1st", 1252, "1st"}};
    for (auto [upper, codePage, lower] : initials) {
        EXPECT_EQ(LowerInitial(upper, codePage), lower);
        EXPECT_EQ(UpperInitial(lower, codePage), upper);
    }
}

// A copied or typed text is looked up by its base forms only when it is one word.
TEST(Reading, WordsOfATextAndASingleWord) {
    EXPECT_EQ(WordsOf("Er ging, 'nach' Hause.\n--"), (std::vector<std::string>{"Er", "ging", "'nach'", "Hause", "--"}));
    EXPECT_EQ(WordsOf(std::string(120, 'a')).front().size(), kMaxLookedUpChars);
    const std::pair<const char*, const char*> cases[] = {
        {"ging", "ging"},   {" ging\r\n", "ging"}, {"ging,", "ging"},
        {"don't", "don't"}, {"ging nach", ""},     {"abc123def", ""},
        {"", ""},           {" \t", ""},           {"well-known.", "well-known"},
    };
    for (auto [text, word] : cases) EXPECT_EQ(SingleWord(text), word) << text;
    EXPECT_EQ(SingleWord(std::string(kMaxLookedUpChars, 'a')).size(), kMaxLookedUpChars);
    EXPECT_EQ(SingleWord(std::string(kMaxLookedUpChars + 1, 'a')), "");  // not held whole
}

// Words looked up against a word file holding `held`: the word itself, else its base forms,
// else the final part of a compound; the first held wins.
TEST_F(MorphologyTest, WordsReachWhatTheWordFileHoldsThroughTheLanguagesFiles) {
    std::map<std::string, std::string> broken = kGerman;
    broken["forms"] = "ging\tgehen\nbroken line\n";
    const Language german{"german", 1252, kGerman, 0}, damaged{"german", 1252, broken, 2}, bare{"german", 1252, {}, 0},
        // A table but no dictionary: contractions reach their base through the table, no stems.
        english{"english-us", 1252, {{"forms", "is\tbe\nmice\tmouse\n"}}, 0},
        // The dictionary's encoding is met at the edge: a pair in code page 1253 asks an ISO
        // 8859-7 dictionary, where Ά has another byte.
        greek{"greek",
              1253,
              {{"aff", "SET ISO8859-7\nSFX A Y 1\nSFX A 0 \xF5 .\n"}, {"dic", "1\n\xB6\xEB\xEF\xE3\xEF/A\n"}},
              0};
    const struct {
        const Language* language;
        const char* word;
        std::vector<std::string> held;
        Match how;
        const char* found;
    } cases[] = {
        {&german, "Berichten", {"Berichten", "Bericht"}, Match::Exact, "Berichten"},
        {&german, "Berichten", {"Bericht"}, Match::Base, "Bericht"},
        {&german, "ging", {"gehen"}, Match::Base, "gehen"},
        {&german, "Ging", {"gehen"}, Match::Base, "gehen"},  // a sentence's first word
        {&german, "Polizeiberichten", {"Bericht"}, Match::Part, "Bericht"},
        {&german, "Polizeiberichten", {"Polizei"}, Match::None, ""},
        {&german, "Brot", {"rot"}, Match::None, ""},  // the part before would be one letter
        {&german, "Rathaus", {"Haus"}, Match::Part, "Haus"},
        {&german, "Sahne-Sauce", {"Sauce"}, Match::Part, "Sauce"},
        {&german, "'Haus'", {"Haus"}, Match::Exact, "Haus"},
        {&german, "--", {"--"}, Match::None, ""},
        {&english, "isn't", {"be", "mouse"}, Match::Base, "be"},
        {&english, "Mice", {"mouse"}, Match::Base, "mouse"},
        {&english, "man's", {"man"}, Match::Base, "man"},
        {&english, "mouses", {"mouse"}, Match::None, ""},
        // A damaged file leaves the language without base forms; no files, only the word itself.
        {&damaged, "ging", {"gehen"}, Match::None, ""},
        {&damaged, "Berichten", {"Bericht"}, Match::None, ""},
        {&bare, "Berichten", {"Bericht"}, Match::None, ""},
        {&bare, "Bericht", {"Bericht"}, Match::Exact, "Bericht"},
        {&greek, "\xA2\xEB\xEF\xE3\xEF\xF5", {"\xA2\xEB\xEF\xE3\xEF"}, Match::Base, "\xA2\xEB\xEF\xE3\xEF"},
    };
    for (const auto& c : cases) {
        const Language& l = *c.language;
        SCOPED_TRACE(std::string(l.locale) + " " + std::to_string(l.files.size()) + " files: " + c.word);
        const std::string locale = l.locale;
        WriteLanguage(locale.substr(0, locale.find('-')), l.files);
        std::vector<MorphologyFinding> findings;
        const LanguageMorphology language("morphology", locale, l.codePage, findings);
        EXPECT_EQ(findings.size() == 1 ? findings[0].line : findings.size(), l.damagedLine);
        EXPECT_EQ(language.HasDictionary(), l.files.count("aff") && !l.damagedLine);
        WordFile file{c.held};
        const LookupResult found = LookUp(&language, c.word, std::ref(file));
        EXPECT_EQ(found.how, c.how);
        EXPECT_EQ(found.candidate, c.found);
    }
    EXPECT_EQ(LookUp(nullptr, "Bericht", WordFile{{"Bericht"}}).how, Match::Exact);
}

// The open word file's record of a base form, from a dictionary loaded once under the
// locale's main language; it stays while the pair keeps its language and goes when a pair
// of another one is selected.
TEST_F(MorphologyTest, ALanguageIsLoadedOnceAndAPairOfAnotherReleasesIt) {
    OpenPair("[languages]\ngerman,german-swiss,0\nfrench,french,0\n",
             {Record("Bericht", "bericht"), Record("gehen", "gaan")});
    WriteLanguage("german", kGerman);
    const LookupResult found = LookUpInWordFile("ging");
    EXPECT_EQ(found.how, Match::Base);
    EXPECT_EQ(found.index, 1);
    const LanguageMorphology* german = LoadedMorphology();
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(&MorphologyOf(*PairAt(0)), german);
    EXPECT_EQ(LookUpInWordFile("Polizeiberichten").how, Match::Part);

    // A long word tries no more candidates than a normal compound does.
    WordFile normal, longWord, foreign;
    LookUp(german, "Gerichtsverhandlungsprotokoll", std::ref(normal));
    LookUp(german, std::string(kMaxLookedUpChars, 'x'), std::ref(longWord));
    LookUp(german, std::string(40, '\xE9'), std::ref(foreign));
    EXPECT_LE(longWord.looks, normal.looks);
    EXPECT_LE(foreign.looks, normal.looks);

    SelectPair();  // the same pair again
    EXPECT_EQ(LoadedMorphology(), german);
    CurrentPair = PairAt(1);  // french
    SelectPair();
    EXPECT_EQ(LoadedMorphology(), nullptr);
    EXPECT_EQ(LookUpInWordFile("ging").how, Match::None);
    EXPECT_FALSE(MorphologyOf(*PairAt(1)).HasDictionary());
    ReleaseMorphology();
}
