// Every file the program reads, empty or cut short: the reader gives a message or an empty
// result, and reading changes no byte of the file. Random bytes are the fuzz targets'.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "core/catalogue/catalogue.h"
#include "core/checker/checker.h"
#include "core/editing/palette_characters.h"
#include "core/lists/print_text.h"
#include "core/lookup/reading.h"
#include "core/lookup/sounds.h"
#include "core/practice/practice.h"
#include "core/session/session.h"
#include "core/session/startup.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/strings/strings_file.h"
#include "core/strings/ui_strings.h"
#include "test_support.h"

namespace fs = std::filesystem;

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

// Byte weights: letters in their order, other bytes by value (none 0 or 1).
std::string GoodSortTable() {
    std::string table(256, '\0');
    for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = static_cast<char>(b < 2 ? 2 : b);
    return table;
}

void PrepareGerman() {
    UseCatalogue(kCatalogue);
    WriteEmptyWordFiles();
    CurrentPair = PairAt(0);
    SetStoreAccess(StoreAccess::ReadWrite);
    SetCollation(*CurrentPair, LocaleReport::Silent);
}

void PrepareList() {
    PrepareGerman();
    WriteRecords("words/ger_dut.gk", {Record("Haus", "huis")});
    fs::create_directories("lists/week1");
    Settings.PracticeList = "week1";
}

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

std::string ReadSortTable() {
    std::memset(SortTable, 0, sizeof SortTable);  // as at start-up
    CurrentPair = PairAt(0);
    SetCollation(*CurrentPair, LocaleReport::Silent);
    const int order = CompareWords("apple", "banana");
    return order < 0 ? "apple before banana" : order == 0 ? "every word compares equal" : "banana before apple";
}

std::string ReadPalette() {
    const std::size_t n = PaletteCharacters("klingon").size();
    return n == 0 ? "an empty palette" : std::to_string(n) + " characters";
}

std::string ReadScoreFile() {
    const std::optional<Score> score = ReadScore("lists\\week1\\ger_dut.score");
    return score ? std::to_string(score->skipped) + " skipped, " + std::to_string(score->errors) + " errors"
                 : "no score";
}

// The settings that differ from the defaults.
std::string ReadSettings() {
    Settings = SettingsValues{};
    ReadStartupSettings();
    ReadWindowSettings();
    CheckSavedPracticeList();
    const SettingsValues defaults;
    std::vector<std::string> changed;
    if (Settings.guifont != defaults.guifont) changed.push_back("guifont " + Settings.guifont);
    if (Settings.guifontsize != defaults.guifontsize)
        changed.push_back("guifontsize " + std::to_string(Settings.guifontsize));
    if (Settings.colorG != defaults.colorG) changed.push_back("colorG " + std::to_string(Settings.colorG));
    if (Settings.PracticeList != defaults.PracticeList) changed.push_back("PracticeList " + Settings.PracticeList);
    return changed.empty() ? "the defaults" : Joined(changed);
}

std::string ReadSoundNames() {
    ReopenStore();
    std::size_t sounds = 0, refused = 0;
    for (std::int32_t i = 0; i < WordCount; ++i) {
        ReadWord(i);
        sounds += WordSounds(CurrentPair->name1, CurrentRecord.word).size() +
                  TranslationSounds(CurrentPair->name2, CurrentRecord.translation).size();
        refused += !CanNameSoundFile(CurrentRecord.word);
    }
    return std::to_string(sounds) + " sounds found, " + std::to_string(refused) + " words name no sound file";
}

std::string ReadText() {
    const std::string text = ReadFile("text.txt");
    std::size_t words = 0;
    for (std::size_t caret = 0; caret < text.size(); ++caret)
        words += !WordAt(text, caret).empty() && (caret == 0 || WordAt(text, caret - 1).empty());
    EXPECT_EQ(WordAt(text, text.size()), "");
    return words == 0 ? "no word" : std::to_string(words) + " words";
}

struct Place {
    const char* name;
    const char* path;  // "" for win.ini, wherever the system keeps it
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
    {"sort table", "tables/klingon.stb", GoodSortTable,
     [] {
         WriteFile("tables/klingon.stb", "");  // the pair has a table when its file is there
         UseCatalogue("[languages]\nklingon\n");
     },
     ReadSortTable, "every word compares equal", "apple before banana"},
    {"palette file", "charset/klingon.chs", [] { return std::string("\xE0\xE1\xE2\xE3\xE4\r\n"); }, [] {}, ReadPalette,
     "an empty palette", "3 characters"},
    {"score file", "lists/week1/ger_dut.score", [] { return std::string("3\r\n12\r\n"); }, [] {}, ReadScoreFile,
     "no score", "no score"},
    {"win.ini", "", [] { return std::string("[Dictionary]\r\nguifontsize=12\r\nPracticeList=week1\r\ncolorG=7\r\n"); },
     [] {
         UseStrings();
         ResetWinIni();
         fs::create_directories("lists/week1");
     },
     ReadSettings, "the defaults", "guifontsize 12"},
    {"sound file names (the words of the word file)", "words/ger_dut.gk", GoodWordFile,
     [] {
         PrepareGerman();
         WriteFile("sound/german/Apfel.wav", "RIFF");
         WriteFile("sound/dutch/huis.wav", "RIFF");
     },
     ReadSoundNames, "0 sounds found, 0 words name no sound file", "1 sounds found, 0 words name no sound file"},
    {"text for the reading aid", "text.txt", [] { return std::string("Das Haus, der Apfel: alt.\r\n"); }, [] {},
     ReadText, "no word", "3 words"},
};

std::string FileOf(const Place& place) { return *place.path ? ReadFile(place.path) : WinIniText(); }

void PutFile(const Place& place, const std::string& bytes) {
    if (*place.path)
        WriteFile(place.path, bytes);
    else
        WriteWinIni(bytes);
}

// Reads `bytes` at the place; what came of it. Reading must leave the file as it was.
std::string ReadAt(const Place& place, const std::string& bytes) {
    WorkDir dir;
    struct Closer {
        ~Closer() { CloseStore(); }
    } closer;
    place.prepare();
    PutFile(place, bytes);
    const std::string result = place.read();
    EXPECT_EQ(FileOf(place), bytes) << place.name << ": reading changed the file";
    return result;
}

class BadInput : public testing::Test {
protected:
    void SetUp() override {
        Settings = SettingsValues{};
        ResetWinIni();
        original = WinIniText();
    }
    // Random bytes in win.ini must not stay for the other tests (under Wine it is the prefix's).
    void TearDown() override {
        WriteWinIni(original);
        ResetWinIni();
        UseStrings();
    }
    std::string original;
};

}  // namespace

TEST_F(BadInput, EveryReaderGivesAMessageOrAnEmptyResult) {
    for (const Place& place : kPlaces) {
        const std::string good = place.good();
        EXPECT_EQ(ReadAt(place, ""), place.empty) << place.name << ", empty";
        EXPECT_EQ(ReadAt(place, good.substr(0, good.size() / 2)), place.truncated) << place.name << ", cut in half";
    }
}
