// The files the program starts from, empty or cut short: the reader gives a message or an
// empty result, and reading changes no byte of the file. Random bytes, and the files that
// only one reader takes (sort tables, palettes, scores, win.ini, texts), are the fuzz
// targets' and their readers' own tests'.
#include <gtest/gtest.h>

#include <functional>

#include "core/catalogue/catalogue.h"
#include "core/checker/checker.h"
#include "core/lists/print_text.h"
#include "core/practice/practice.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "core/strings/strings_file.h"
#include "core/strings/ui_strings.h"
#include "test_support.h"

namespace {

const char kCatalogue[] = "# mine\r\n[languages]\r\ngerman,german,0\r\nfrench\r\n\r\n[selected]\r\nfre_dut.gk\r\n";
const char kLanguageIni[] = "[Dictionary]\r\nLanguage=english\r\n";

std::string GoodStringsFile() {
    std::string packed, error;
    EXPECT_TRUE(PackStrings(StringsText(), packed, error)) << error;
    return packed;
}

std::string GoodWordFile() {
    return RecordBytes({Record("Apfel", "appel"), Record("alt", "oud", 1), Record("Haus", "huis, woning")});
}

void PrepareGerman() { UsePair(kCatalogue); }

void PrepareList() { UsePair(kCatalogue, {Record("Haus", "huis")}, "week1"); }

std::string LoadStrings() {
    const UiLoadResult r = LoadUiStringsFromWorkingDirectory();
    std::string result = "loaded";
    if (r.status == UiLoadStatus::NoFile) result = "message \"No strings file found.\", end";
    if (r.status == UiLoadStatus::MissingKey)
        result = std::string("message \"String: ") + UiKeyName(r.missingKey) + " not found.\", end";
    UseStrings();
    return result;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "; ") + line;
    return text;
}

// What the checker finds in the file named `path` ("words\\ger_dut.gk"), but for the order of
// its records, which is the platform collation's.
std::string Checked(const std::string& path) {
    for (FileCheck& check : CheckWorkingDirectory(false)) {
        if (check.path != path) continue;
        std::erase_if(check.findings, [](const std::string& f) { return f.find("out of order") != std::string::npos; });
        return check.findings.empty() ? "" : ": " + Joined(check.findings);
    }
    return "";
}

std::string ReadWordFile() {
    ReopenStore();
    std::int32_t readable = 0;
    for (std::int32_t i = 0; i < WordCount; ++i) readable += ReadWord(i) == 0;
    const std::int32_t found = FindWord("m");
    EXPECT_TRUE(found >= 0 && found <= WordCount) << found;
    return std::to_string(readable) + " of " + std::to_string(WordCount) + " records read" +
           Checked("words\\ger_dut.gk");
}

std::string ReadListFile() {
    ReopenStore();
    PracticePool pool(ListCount);
    std::int32_t drawn = 0;
    for (std::uint32_t r = 7; PickRandomEntry(pool, [&] { return r = r * 1103515245u + 12345u; }) >= 0;) ++drawn;
    const int printed = WritePrintFile(kPrintFileName);
    const auto lines = TakePrintFile(kPrintFileName);
    return std::to_string(ListCount) + " entries, " + std::to_string(drawn) + " drawn, " +
           (printed == 0 && lines ? std::to_string(lines->size()) + " lines printed" : "not printed") +
           Checked("lists\\week1\\ger_dut.ls");
}

std::string ReadCatalogue() {
    if (BuildCatalogue() != 0) return std::string("message \"") + Ui(UiKey::NoIni) + "\", end";
    const int selection = ReadSelectedPair();
    std::string names;
    for (int i = 0; i < PairCount() / 2; ++i) names += std::string(names.empty() ? "" : ", ") + PairAt(i)->name1;
    return std::to_string(PairCount()) + " pairs (" + names + "), current " + WordFileName(*CurrentPair) +
           (selection == 0 ? "" : ", selection unread");
}

struct Place {
    const char* name;
    const char* path;
    std::string (*good)();
    std::function<void()> prepare;  // everything else the reader needs, whole
    std::string (*read)();
    // What comes of an empty file and of the good one cut in half.
    const char *empty, *truncated;
};

const Place kPlaces[] = {
    {"strings file", "strings/english.str", GoodStringsFile, [] { WriteFile("language.ini", kLanguageIni); },
     LoadStrings, "message \"String: MainMenuFile0 not found.\", end",
     "message \"String: PracticeCurrentscore not found.\", end"},
    {"language.ini", "language.ini", [] { return std::string(kLanguageIni); },
     [] { WriteFile("strings/english.str", GoodStringsFile()); }, LoadStrings,
     "message \"No strings file found.\", end", "message \"No strings file found.\", end"},
    {"catalogue", "cat.ini", [] { return std::string(kCatalogue); }, [] { UseCatalogue(kCatalogue); }, ReadCatalogue,
     "message \"No catalogue.\", end", "2 pairs (german), current dut_ger.gk"},
    {"word file", "words/ger_dut.gk", GoodWordFile, PrepareGerman, ReadWordFile, "0 of 0 records read",
     "1 of 1 records read: a partial record of 42 bytes at the end"},
    {"list file", "lists/week1/ger_dut.ls", GoodWordFile, PrepareList, ReadListFile,
     "0 entries, 0 drawn, 2 lines printed",
     "1 entries, 1 drawn, 3 lines printed: a partial record of 42 bytes at the end; 1 "
     "entries no longer in the word file"},
};

// Reads `bytes` at the place; what came of it. Reading must leave the file as it was.
std::string ReadAt(const Place& place, const std::string& bytes) {
    WorkDir dir;
    struct Closer {
        ~Closer() { CloseStore(); }
    } closer;
    place.prepare();
    WriteFile(place.path, bytes);
    const std::string result = place.read();
    EXPECT_EQ(ReadFile(place.path), bytes) << place.name << ": reading changed the file";
    return result;
}

}  // namespace

TEST(BadInput, EveryReaderGivesAMessageOrAnEmptyResult) {
    for (const Place& place : kPlaces) {
        const std::string good = place.good();
        EXPECT_EQ(ReadAt(place, ""), place.empty) << place.name << ", empty";
        EXPECT_EQ(ReadAt(place, good.substr(0, good.size() / 2)), place.truncated) << place.name << ", cut in half";
    }
}
