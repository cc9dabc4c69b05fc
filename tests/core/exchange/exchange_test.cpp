#include "core/exchange/exchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/exchange/import_run.h"
#include "test_support.h"

namespace {

// German into Dutch, with its reverse: words/ger_dut.gk and words/dut_ger.gk.
const char kCatalogue[] = "[languages]\ngerman\nfrench\n";

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { UsePair(kCatalogue); }

    // The import of `text` as words.tsv, planned; nothing written.
    ImportPlan PlanText(const std::string& text) {
        WriteFile("words.tsv", text);
        ImportPlan plan;
        std::string error;
        EXPECT_TRUE(PlanImport("words.tsv", {}, plan, error)) << error;
        return plan;
    }

    WorkDir dir_;
};

std::vector<std::string> Lines(const std::vector<WordRecord>& records) {
    std::vector<std::string> lines;
    for (const WordRecord& r : records) lines.push_back(std::string(r.word) + "=" + r.translation);
    return lines;
}

std::vector<std::string> Problems(const ImportReport& report) {
    std::vector<std::string> lines;
    for (const ImportProblem p : report.problems)
        lines.push_back(std::to_string(p.line) + " " + std::string(p.message));
    return lines;
}

// Runs out of memory at one named step of an import, or at every other batch it merges.
struct FailingProbe final : ImportProbe {
    const char* failingStep = "";
    bool failEveryOtherBatch = false;
    int batches = 0;
    void Step(const char* step) override {
        if (std::strcmp(step, failingStep) == 0) throw std::bad_alloc();
    }
    void Merging() override {
        if (failEveryOtherBatch && ++batches % 2 == 0) throw std::bad_alloc();
    }
};

// Enough entries for several batches, each kind of problem among them, and words met again.
std::string ManyEntries() {
    std::string text;
    for (int i = 0; i < 10000; ++i) {
        const std::string n = std::to_string(i);
        if (i % 7 == 0)  // cut, and its first piece too long for the reverse pair
            text += "w" + n + "\t" + std::string(31, 'p') + n + ", " + std::string(20, 'q') + "\n";
        else if (i % 11 == 0)
            text += "a,b" + n + "\tx\n";
        else if (i % 5 == 0)
            text += "W" + std::to_string(i - 1) + "\tt" + n + ", shared\n";  // merged into the word before
        else
            text += "w" + n + "\tt" + n + ", shared\n";
    }
    return text;
}

}  // namespace

// Each word file is sorted in its own pair's order: here only the reverse pair's first
// language has a sort table, one that turns the alphabet round.
TEST_F(ExchangeTest, ReportsFirstAndWritesBothPairsSorted) {
    std::string table(256, '\0');
    for (int b = 1; b < 256; ++b) table[b] = static_cast<char>(b >= 'a' && b <= 'z' ? 'a' + 'z' - b + 2 : b);
    WriteFile("tables/dutch.stb", table);
    UsePair(kCatalogue);
    WriteRecords("words/ger_dut.gk", {Record("Baum", "boom"), Record("Haus", "huis"), Record("Alt", "oud", 1),
                                      Record("Lang", std::string(45, 'l'))});
    WriteRecords("words/dut_ger.gk", {Record("huis", "Haus")});
    const std::string forwardBefore = ReadFile("words/ger_dut.gk");
    ImportPlan plan = PlanText(
        "Haus\twoning\n"
        "Baum\tboom\n"
        "Apfel\tappel, Appel\n"
        "a,b\tx\n"
        "Donaudampfschifffahrtsgesellschaft\tx\n"
        "Zug\taaaaaaaaaaaaaaaaaaaa, bbbbbbbbbbbbbbbbbbbb, ccccccc\n"  // 51 characters, one too many
        "\tleeg\n"
        "Leer\t , ,\n"
        "\xCE\xA9mega\tomega\n"
        "haus\tWONING\n"
        "Zimmer\tkamer\n"
        "Lang\ts\xC3\xBC\xC3\x9Flich\n");
    const ImportReport& r = plan.report;
    EXPECT_EQ(Problems(r), (std::vector<std::string>{
                               "4 \"a,b\": a comma in the word",
                               "5 \"Donaudampfschifffahrtsgesellschaft\": the word has more than 30 characters",
                               "6 \"Zug\": the translation has more than 50 characters; kept its first 2 of 3 parts",
                               "7 the word is empty",
                               "8 \"Leer\": the translation is empty",
                               "9 \"\xCE\xA9mega\": \"\xCE\xA9\" is not in the code page of german",
                               "12 \"Lang\": no room for \"s\xC3\xBC\xC3\x9Flich\" in the word's translation",
                           }));
    EXPECT_EQ(ReadFile("words/ger_dut.gk"), forwardBefore);  // nothing written before the answer

    ASSERT_EQ(RunPlannedImport(plan, {}).outcome, ImportOutcome::Imported);
    EXPECT_EQ(Lines(ReadRecords("words/ger_dut.gk")),
              (std::vector<std::string>{"Apfel=appel, Appel", "Baum=boom", "Haus=huis, woning",
                                        "Lang=" + std::string(45, 'l'), "Zimmer=kamer",
                                        "Zug=aaaaaaaaaaaaaaaaaaaa, bbbbbbbbbbbbbbbbbbbb"}));
    EXPECT_EQ(
        Lines(ReadRecords("words/dut_ger.gk")),
        (std::vector<std::string>{"woning=Haus", "s\xFC\xDFlich=Lang", "kamer=Zimmer", "huis=Haus", "ccccccc=Zug",
                                  "boom=Baum", "bbbbbbbbbbbbbbbbbbbb=Zug", "appel=Apfel", "aaaaaaaaaaaaaaaaaaaa=Zug"}));
    // Added: Apfel, Zug, Zimmer; merged: Haus gains woning; already there: Baum, haus a second
    // time, and Lang without room. As typed words, every translation feeds the reverse, the
    // one cut from Zug's as well.
    const std::string described = DescribeImport(r, 2);
    EXPECT_NE(described.find("added 3, merged 1, already there 3, skipped 5, parts left out 1\n"), std::string::npos);
    EXPECT_NE(described.find("reverse pair: added 8,"), std::string::npos) << described;

    // The same file again changes nothing, and so takes no backup.
    const std::size_t backups = ListBackups().size();
    const std::string after = ReadFile("words/ger_dut.gk") + ReadFile("words/dut_ger.gk");
    plan = PlanText(ReadFile("words.tsv"));
    EXPECT_EQ(RunPlannedImport(plan, {}).outcome, ImportOutcome::Unchanged);
    EXPECT_EQ(ListBackups().size(), backups);
    EXPECT_EQ(ReadFile("words/ger_dut.gk") + ReadFile("words/dut_ger.gk"), after);
}

TEST_F(ExchangeTest, ExportThenImportIntoAnEmptyPairGivesTheSameRecords) {
    // Brackets and slashes are a dictionary's notes and pronunciations, but not in our own.
    // The word file holds code page 1252 text, as the program stores it, and a word as long as
    // a word may be.
    const std::vector<WordRecord> latin = {
        Record("#Hashtag", "hashtag"),  Record("Bank", "bank [geld], oever {rivier} <m>"),
        Record("Fu\xDF", "voet, poot"), Record("K\xE4se", "kaas, \"oude\" kaas"),
        Record("T\xFCr", "deur"),       Record("Uhr /h", "uur /u/"),
        Record("Zug", "trein"),         Record("Zug" + std::string(27, 'z'), "trein")};
    for (const char* name : {"out.tsv", "out.csv", "out.txt", "out.kvtml", "out.index"}) {
        WriteRecords("words/ger_dut.gk", latin);
        std::string error;
        ASSERT_EQ(ExportCurrentPair(name, {}, error), 8) << name << ": " << error;

        WriteEmptyWordFiles();
        ImportPlan plan;
        ASSERT_TRUE(PlanImport(name, {}, plan, error)) << name << ": " << error;
        ASSERT_TRUE(ApplyImport(plan, error)) << error;
        EXPECT_EQ(Lines(ReadRecords("words/ger_dut.gk")), Lines(latin)) << name;
    }
    EXPECT_EQ(ReadFile("out.tsv").substr(0, 20), "\"#Hashtag\"\thashtag\r\n");  // never read as a header
    EXPECT_NE(ReadFile("out.tsv").find("\r\nK\xE4se\t"), std::string::npos);    // in the pair's code page
}

// A file that cannot be read, or an import that runs out of memory at any step that needs
// much (as wordlist runs one: the plan, the report made, then the report kept beside the
// backup, the sorts and the writes), is told of with nothing changed.
TEST_F(ExchangeTest, AnImportThatCannotBeMadeSaysWhyAndChangesNothing) {
    WriteFile("lonely.index", "house\tA\tB\n");
    WriteFile("big.tsv", "Baum\tboom\n" + std::string((1 << 20) - 9, 'x'));  // a byte too many
    // Dutch in Greek letters, but for one word: a file for another catalogue.
    WriteFile("greek.tsv",
              "Katze\t\xCE\xB3\xCE\xAC\xCF\x84\xCE\xB1\nHund\t\xCF\x83\xCE\xBA\xCF\x8D\xCE\xBB\xCE\xBF\xCF\x82\n"
              "Maus\tmuis\n");
    WriteFile("words.tsv", "Baum\tboom\n");
    const struct {
        const char *file, *step, *error;
    } cases[] = {
        {"lonely.index", "", "lonely.index: cannot read lonely.dict.dz (nor lonely.dict)"},
        {"missing.tsv", "", "missing.tsv: cannot read missing.tsv"},
        {"big.tsv", "", "big.tsv: big.tsv is larger than 1 MB, more than an import takes"},
        {"greek.tsv", "",
         "dutch uses Western (1252) letters in this catalogue; this file is written in Greek letters (character set "
         "161); nothing was imported"},
        {"words.tsv", "read", "there is not enough memory to read words.tsv; nothing was changed"},
        {"words.tsv", "plan", "there is not enough memory to read words.tsv; nothing was changed"},
        {"words.tsv", "report", "there is not enough memory to make the report; nothing was changed"},
        {"words.tsv", "sort", "there is not enough memory to sort the words; nothing was changed"},
        {"words.tsv", "write", "cannot write words/ger_dut.gk; nothing was imported"},
        {"words.tsv", "write reverse", "cannot write words/dut_ger.gk; nothing was imported"},
    };
    FailingProbe probe;
    ImportOptions options;
    options.probe = &probe;
    options.maxText = 1 << 20;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.step);
        WriteRecords("words/ger_dut.gk", {Record("Haus", "huis")});
        WriteRecords("words/dut_ger.gk", {});
        const std::string before = ReadFile("words/ger_dut.gk") + ReadFile("words/dut_ger.gk");
        probe.failingStep = c.step;
        ImportPlan plan;
        std::string error;
        if (PlanImport(c.file, options, plan, error)) {
            const ImportRunResult run = RunPlannedImport(plan, {});
            EXPECT_NE(run.outcome, ImportOutcome::Imported);
            error = run.error;
        }
        std::replace(error.begin(), error.end(), '\\', '/');
        EXPECT_EQ(error.substr(0, std::strlen(c.error)), c.error);
        EXPECT_EQ(ReadFile("words/ger_dut.gk") + ReadFile("words/dut_ger.gk"), before);
    }
}

// Each row's problems, the summary's line that counts them, and when given the words planned
// and what a first row naming the languages was taken for.
TEST_F(ExchangeTest, EachProblemIsReportedWithItsLine) {
    using namespace std::string_literals;
    WriteRecords("words/dut_ger.gk", {Record("huis", std::string(46, 'h'))});  // "Haus" would make 52
    std::string umlauts;
    for (int i = 0; i < 100; ++i) umlauts += "\xC3\xA4";
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> problems;
        std::string summary;
        std::vector<std::string> words = {};
        std::string languages = "";
    } cases[] = {
        {"NUL bytes and the wrong encoding",
         "Haus\twoning\nBa\0um\tboom\n\0\0\0\0\nZug\ttr\0ein\nFu\xDF\tstraat\nK\xC3\xA4se\tkaas\nT\xC3\xBCr\tdeur\n"s,
         {"2 a NUL byte in the word", "3 a NUL byte in the word", "4 a NUL byte in the translation",
          "5 not UTF-8 text, as the rest of the file is"},
         "added 3, merged 0, already there 0, skipped 4\n"},
        {"at most 80 characters of a field quoted",
         std::string(200000, 'a') + "\tx\n" + umlauts + "\tx\n",
         {"1 \"" + std::string(80, 'a') + "...\": the word has more than 30 characters",
          "2 \"" + umlauts.substr(0, 160) + "...\": the word has more than 30 characters"},
         "skipped 2\n"},
        {"a letter the code page lacks costs only its part",
         "Katze\tkat, \xCE\xB3\xCE\xAC\xCF\x84\xCE\xB1, poes\n",
         {"1 \"Katze\": \"\xCE\xB3\xCE\xAC\xCF\x84\xCE\xB1\" is left out of the translation: \"\xCE\xB3\" is not in "
          "the code page "
          "of dutch"},
         "added 1, merged 0, already there 0, skipped 0, parts left out 1\n"},
        {"spellings that are one word share it in turns",
         "Essen\t" + std::string(20, 'a') + ", " + std::string(20, 'b') + ", ccc\nessen\tmanger, eten\n",
         {"2 \"essen\": no room for \"eten\" in the word's translation",
          "2 \"essen\": no room for \"ccc\" in the word's translation"},
         "added 1, merged 1, already there 0, skipped 0\n",
         {"Essen=" + std::string(20, 'a') + ", manger, " + std::string(20, 'b')}},
        {"the reverse pair's losses",
         "Haus\thuis\nWort\tkort, een woord dat langer is dan dertig\n",
         {"1 \"Haus\": no room in the reverse pair's translation of \"huis\"",
          "2 \"Wort\": \"een woord dat langer is dan dertig\" has more than 30 characters, too many for a word of the "
          "reverse pair"},
         "reverse pair: added 1, merged 0, not taken 2\n"},
        // A combining diaeresis, the Angstrom sign, "ij", hyphens and dashes have a spelling in
        // the code page; a fraction the code page has keeps its own.
        {"letters with an exact code-page spelling",
         "Ka\xCC\x88se\tkaas\n\xE2\x84\xAB"
         "ngstr\xC3\xB6m\t\xC3\xA5ngstr\xC3\xB6m\nWein\tw\xC4\xB3n\nE\xE2\x80\x90Mail\te\xE2\x80\x91mail\n"
         "Ost\xE2\x80\x93West\toost\xE2\x80\x94west\nhalb\t\xC2\xBD\n",
         {},
         "added 6, merged 0, already there 0, skipped 0\n",
         {"K\xE4se=kaas", "\xC5ngstr\xF6m=\xE5ngstr\xF6m", "Wein=wijn", "E-Mail=e-mail", "Ost-West=oost-west",
          "halb=\xBD"}},
        // A first row naming the languages is a header, not a word.
        {"the pair's languages the other way round",
         " dutch \t GERMAN\nboom\tBaum\n",
         {},
         "",
         {"Baum=boom"},
         "line 1 names the columns dutch and german: each word is taken from the second column"},
        {"other languages of the catalogue",
         "french\tdutch\nBaum\tboom\n",
         {"1 the columns are titled \"french\" and \"dutch\", not german and dutch as this pair's"},
         "",
         {"Baum=boom"}},
        {"no language of the catalogue", "Deutsch\tDutch\nBaum\tboom\n", {}, "", {"Deutsch=Dutch", "Baum=boom"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportPlan plan = PlanText(c.text);
        EXPECT_EQ(Problems(plan.report), c.problems);
        EXPECT_EQ(c.words.empty() ? c.words : Lines(plan.forward), c.words);
        EXPECT_EQ(plan.report.languages, c.languages);
        const std::string described = DescribeImport(plan.report);
        EXPECT_NE(described.find(c.summary), std::string::npos) << described;
        EXPECT_EQ(described.find('\0'), std::string::npos);
    }
}

// The catalogue's names are text in the interface's code page, here Greek, and a header row
// names them in UTF-8.
TEST_F(ExchangeTest, LanguageNamesAreReadInTheInterfacesCodePage) {
    UseCatalogue("[languages]\n\xE5\xEB\xEB\xE7\xED\xE9\xEA\xDC,greek,161\n", {{"CharactersetCode", "161"}});
    WriteEmptyWordFiles();
    CurrentPair = PairAt(0);
    const ImportPlan plan =
        PlanText("\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC\tdutch\nspiti\thuis\n");
    EXPECT_EQ(plan.report.languages,
              "line 1 names the columns \xCE\xB5\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC and dutch");
}

// The report file of a file in the pair's code page is UTF-8 too; that it holds every line,
// and ends them for Notepad, is the command line's test's.
TEST_F(ExchangeTest, TheReportOfACodePageFileIsWrittenInUtf8) {
    const ImportPlan plan = PlanText("Fu\xDF\t\n");
    std::string error;
    ASSERT_TRUE(WriteImportReport(plan.report, *CurrentPair, error)) << error;
    const std::string file = ReadFile("ger_dut.import.txt");
    EXPECT_EQ(file.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(file.find("line 1: \"Fu\xC3\x9F\": the translation is empty\r\n"), std::string::npos);
}

// A plan made on one thread or two is the same, its problems in line order. It stops at once
// on either path, with the plan given back, when the merge runs out of memory or the progress
// (which sees the entries grow) says stop; a progress that lets it run sees it through.
TEST_F(ExchangeTest, APlanIsTheSameOnEitherPathAndStopsWhenTheMergeOrTheProgressSays) {
    WriteFile("words.tsv", ManyEntries());
    std::vector<ImportPlan> plans;
    for (bool beside : {false, true}) {
        FailingProbe probe;
        probe.failEveryOtherBatch = true;
        std::vector<std::int64_t> seen;
        ImportOptions failing, stopping, running;
        failing.probe = &probe;
        stopping.progress = [&](std::int64_t entries) {
            seen.push_back(entries);
            return seen.size() < 2;
        };
        running.progress = [](std::int64_t) { return true; };
        ImportPlan plan;
        std::string error;
        for (ImportOptions* options : {&failing, &stopping, &running}) {
            options->mergeBeside = beside;
            const bool planned = PlanImport("words.tsv", *options, plan, error);
            EXPECT_EQ(planned, options == &running) << beside << error;
            EXPECT_EQ(plan.cancelled, options == &stopping) << beside;
            EXPECT_EQ(plan.report.entries, planned ? 10000 : 0);
            EXPECT_EQ(plan.forward.empty() && plan.report.problems.empty(), !planned);
            if (options == &failing) {
                EXPECT_EQ(error, "there is not enough memory to read words.tsv; nothing was changed") << beside;
            }
        }
        ASSERT_EQ(seen.size(), 2u) << beside;
        EXPECT_GT(seen[1], seen[0]);
        plans.push_back(std::move(plan));  // the one run through
    }
    const ImportReport &a = plans[0].report, &b = plans[1].report;
    EXPECT_EQ(Lines(plans[1].forward), Lines(plans[0].forward));
    EXPECT_EQ(Lines(plans[1].backward), Lines(plans[0].backward));
    EXPECT_EQ(DescribeImport(b), DescribeImport(a));  // every count among them
    // The cut is found in preparing an entry, the reverse pair's loss in merging it.
    const std::vector<std::string> problems = Problems(b);
    ASSERT_GE(problems.size(), 2u);
    EXPECT_EQ(problems[0], "1 \"w0\": the translation has more than 50 characters; kept its first 1 of 2 parts");
    EXPECT_EQ(problems[1], "1 \"w0\": \"" + std::string(31, 'p') +
                               "0\" has more than 30 characters, too many for a word of the reverse pair");
    for (std::size_t i = 1; i < b.problems.size(); ++i) EXPECT_LE(b.problems[i - 1].line, b.problems[i].line) << i;
}
