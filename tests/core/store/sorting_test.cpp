#include "core/store/sorting.h"

#include <gtest/gtest.h>

#include <random>

#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "test_support.h"

namespace {

struct Recorder : SortProgress {
    std::vector<std::pair<SortPhase, std::int64_t>> shown;
    void Show(SortPhase phase, std::int64_t count) override { shown.push_back({phase, count}); }
    std::vector<std::int64_t> Of(SortPhase phase) const {
        std::vector<std::int64_t> counts;
        for (auto [p, n] : shown)
            if (p == phase) counts.push_back(n);
        return counts;
    }
};

std::vector<std::string> Words(const std::string& path) {
    std::vector<std::string> words;
    for (const WordRecord& r : ReadRecords(path)) words.push_back(r.word);
    return words;
}

class SortingTest : public testing::Test {
protected:
    void SetUp() override {
        UseStrings();
        Settings.PracticeList.clear();
        CollationLocale = 0;
    }
    void TearDown() override { CloseStore(); }

    // Opens the pair of `language` into dutch on the given records.
    void Open(const std::string& catalogueLine, const std::vector<WordRecord>& records) {
        WriteFile("cat.ini", "[languages]\n" + catalogueLine + "\n");
        ASSERT_EQ(BuildCatalogue(), 0);
        CurrentPair = PairAt(0);
        path = "words/" + std::string(WordFileName(*CurrentPair));
        WriteRecords(path, records);
        SetCollation(*CurrentPair, LocaleReport::Silent);
        OpenStore();
        CountRecords();
    }

    // Every record is in order, and the search finds each word where it lies.
    void ExpectSearchable() {
        for (std::int32_t i = 0; i + 1 < WordCount; ++i) {
            ReadWord(i);
            std::string a = CurrentRecord.word;
            ReadWord(i + 1);
            EXPECT_LE(CompareWords(a.c_str(), CurrentRecord.word), 0) << a << " / " << CurrentRecord.word;
        }
        for (std::int32_t i = 0; i < WordCount; ++i) {
            ReadWord(i);
            std::string word = CurrentRecord.word;
            std::int32_t at = FindWord(word.c_str());
            ReadWord(at);
            EXPECT_EQ(CompareWords(CurrentRecord.word, word.c_str()), 0) << word;
        }
    }

    WorkDir dir;
    std::string path;
};

}  // namespace

TEST_F(SortingTest, DropsDeletedRecordsAndSortsTheRest) {
    Open("english", {Record("pear", "peer"), Record("Apple", "appel"), Record("gone", "weg", 1),
                     Record("banana", "banaan"), Record("zebra", "zebra", 7)});
    ASSERT_EQ(SortStore(nullptr), 0);
    EXPECT_EQ(Words(path), (std::vector<std::string>{"Apple", "banana", "pear"}));
    EXPECT_EQ(WordCount, 3);
    EXPECT_EQ(ReadRecords(path)[0].translation, std::string("appel"));
    EXPECT_FALSE(Exists("words.tmp"));
}

TEST_F(SortingTest, AllDeletedGivesEmptyFileAndPartialTailIsDropped) {
    Open("english", {Record("a", "", 1), Record("b", "", 1)});
    ASSERT_EQ(SortStore(nullptr), 0);
    EXPECT_EQ(ReadFile(path).size(), 0u);
    EXPECT_EQ(WordCount, 0);

    CloseStore();
    WriteRecords(path, {Record("b"), Record("a")});
    WriteFile(path, ReadFile(path) + "partial");
    OpenStore();
    CountRecords();
    ASSERT_EQ(SortStore(nullptr), 0);
    EXPECT_EQ(Words(path), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ReadFile(path).size(), 168u);
}

TEST_F(SortingTest, ProgressEveryThousandRecordsAndTwoThousandComparisons) {
    std::vector<WordRecord> records;
    for (int i = 0; i < 2500; ++i) records.push_back(Record("w" + std::to_string((i * 7919) % 2500)));
    Open("english", records);
    Recorder progress;
    ASSERT_EQ(SortStore(&progress), 0);
    EXPECT_EQ(progress.Of(SortPhase::Reading), (std::vector<std::int64_t>{0, 1000, 2000}));
    EXPECT_EQ(progress.Of(SortPhase::Writing), (std::vector<std::int64_t>{0, 1000, 2000}));
    std::vector<std::int64_t> sorting = progress.Of(SortPhase::Sorting);
    ASSERT_FALSE(sorting.empty());
    for (std::size_t i = 0; i < sorting.size(); ++i) EXPECT_EQ(sorting[i], static_cast<std::int64_t>(i) * 2000);
    EXPECT_EQ(static_cast<std::int64_t>(sorting.size()), (SortComparisons + 1999) / 2000);
    ExpectSearchable();
}

TEST_F(SortingTest, FailureLeavesTheWordFileWhole) {
    Open("english", {Record("b"), Record("a", "", 1)});
    const std::string before = ReadFile(path);
    UseStrings({{"FilenameTempLanguage", "no-such-dir\\words.tmp"}});
    EXPECT_EQ(SortStore(nullptr), -1);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(WordCount, 2);  // the store is open on the old file again
}

TEST_F(SortingTest, TableCollatedFileIsSearchable) {
    std::string table(256, '\0');
    for (int b = 1; b < 256; ++b) table[b] = static_cast<char>(b < 2 ? 2 : b);
    for (char c = 'a'; c <= 'z'; ++c) table[static_cast<unsigned char>(c)] = static_cast<char>(c - 'a' + 'A');
    table['-'] = 1;
    table['\''] = 1;
    WriteFile("tables/klingon.stb", table);
    std::mt19937 random(5);
    std::vector<WordRecord> records;
    for (int i = 0; i < 3000; ++i) {
        std::string word;
        for (int n = 1 + static_cast<int>(random() % 12); n > 0; --n) word += "aBc-'xyZ"[random() % 8];
        records.push_back(Record(word, "", random() % 5 == 0));
    }
    Open("klingon", records);
    ASSERT_EQ(CurrentPair->hasSortTable, 1);
    ASSERT_EQ(SortStore(nullptr), 0);
    ExpectSearchable();
    EXPECT_EQ(TableCompare("e-mail", "EMAIL"), 0);
}

TEST_F(SortingTest, LocaleCollatedFileIsSearchable) {
    std::mt19937 random(11);
    const char* letters[] = {"a", "b", "e", "o", "s", "z", "A", "\xE4", "\xF6", "\xFC", "\xDF", "-", "'", " ", "\xC4"};
    std::vector<WordRecord> records;
    for (int i = 0; i < 3000; ++i) {
        std::string word;
        for (int n = 1 + static_cast<int>(random() % 10); n > 0; --n) word += letters[random() % std::size(letters)];
        records.push_back(Record(word));
    }
    Open("german,german,0", records);
    ASSERT_EQ(SortStore(nullptr), 0);
    ExpectSearchable();
}

#ifdef _WIN32
TEST_F(SortingTest, GermanCollationPutsUmlautsWithTheirLetters) {
    Open("german,german,0", {Record("azur"), Record("\xE4pfel"), Record("Zug"), Record("apfel")});
    ASSERT_EQ(SortStore(nullptr), 0);
    EXPECT_EQ(Words(path), (std::vector<std::string>{"apfel", "\xE4pfel", "azur", "Zug"}));
}
#endif
