#include "core/store/sorting.h"

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

// What a sort shows, by phase; a failing one fails while the records are sorted, as any
// step of a sort may.
struct Recorder : SortProgress {
    bool failing = false;
    std::map<SortPhase, std::vector<std::int64_t>> shown;
    void Show(SortPhase phase, std::int64_t count) override {
        if (failing && phase == SortPhase::Sorting) throw std::runtime_error("disk on fire");
        shown[phase].push_back(count);
    }
};

std::vector<WordRecord> RandomWords(unsigned seed, std::initializer_list<const char*> letters, int deletedOneIn) {
    std::mt19937 random(seed);
    std::vector<WordRecord> records;
    for (int i = 0; i < 3000; ++i) {
        std::string word;
        for (int n = 1 + static_cast<int>(random() % 10); n > 0; --n)
            word += letters.begin()[random() % letters.size()];
        records.push_back(Record(word, "", deletedOneIn && random() % deletedOneIn == 0));
    }
    return records;
}

class SortingTest : public InWorkDir {
protected:
    void SetUp() override { CollationLocale = 0; }

    // Opens the pair of a one-language catalogue on the given records.
    void Open(const std::string& catalogueLine, const std::vector<WordRecord>& records) {
        OpenPair("[languages]\n" + catalogueLine + "\n", records);
        path = "words/" + std::string(WordFileName(*CurrentPair));
    }

    // Every record is in order, and the search finds each word where it lies.
    void ExpectSearchable() {
        const std::vector<std::string> words = WordsIn(path);
        for (std::size_t i = 0; i < words.size(); ++i) {
            EXPECT_LE(CompareWords(words[i ? i - 1 : 0].c_str(), words[i].c_str()), 0) << words[i];
            ReadWord(FindWord(words[i].c_str()));
            EXPECT_EQ(CompareWords(CurrentRecord.word, words[i].c_str()), 0) << words[i];
        }
    }

    std::string path;
};

}  // namespace

// A failure while sorting (a failing file step is the failed rewrites' table) leaves the
// word file whole. Long words alike for their first eight letters and more are ordered by
// the first letter that differs, wherever the ones after it differ too.
TEST_F(SortingTest, DropsEveryDeletedRecordAndSortsTheRest) {
    const std::vector<std::string> longWords = {"photosynthesis",     "photosynthesising", "Photosynthesizing",
                                                "photosynthetically", "photosynthetics",   "phototropically"};
    std::vector<WordRecord> records = {Record("pear", "peer"),      Record("Apple", "appel"),
                                       Record("gone", "weg", 1),    Record("banana", "banaan"),
                                       Record("zebra", "zebra", 7), Record("x", "", -1)};
    for (auto i = longWords.rbegin(); i != longWords.rend(); ++i) records.push_back(Record(*i));
    Open("english", records);
    WriteFile(path, ReadFile(path) + "partial");
    ReopenStore();
    const std::string before = ReadFile(path);
    Recorder failing;
    failing.failing = true;
    EXPECT_EQ(SortStore(&failing), -1);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(WordCount, 12);  // the store is open on the old file again
    EXPECT_FALSE(Exists("words.tmp"));

    ASSERT_EQ(SortStore(nullptr), 0);
    std::vector<std::string> sorted = {"Apple", "banana", "pear"};
    sorted.insert(sorted.end(), longWords.begin(), longWords.end());
    EXPECT_EQ(WordsIn(path), sorted);
    EXPECT_EQ(ReadRecords(path)[0].translation, std::string("appel"));
    Open("english", {Record("a", "", 1)});
    ASSERT_EQ(SortStore(nullptr), 0);
    EXPECT_EQ(ReadFile(path).size(), 0u);
}

#ifdef _WIN32
TEST_F(SortingTest, GermanCollationPutsUmlautsWithTheirLetters) {
    Open("german,german,0", {Record("azur"), Record("\xE4pfel"), Record("Zug"), Record("apfel")});
    ASSERT_EQ(SortStore(nullptr), 0);
    EXPECT_EQ(WordsIn(path), (std::vector<std::string>{"apfel", "\xE4pfel", "azur", "Zug"}));
}
#endif

// Sorted on one thread and, above the size where a second thread takes half the keys and
// half the buckets, on two: the same order, searchable under a sort table (one that folds
// a-z and ignores two characters) and under a locale, with every comparison counted and shown.
// A tail appended to the sorted body is then merged in: keys are made for the tail's live
// records only while the body is in order, else for all.
TEST_F(SortingTest, SortsOnOneThreadAndOnTwoAndMergesATailUnderEveryComparator) {
    std::string table(256, '\0');
    for (int b = 1; b < 256; ++b) table[b] = static_cast<char>(b < 2 ? 2 : b);
    for (char c = 'a'; c <= 'z'; ++c) table[static_cast<unsigned char>(c)] = static_cast<char>(c - 'a' + 'A');
    table['-'] = table['\''] = 1;
    WriteFile("tables/klingon.stb", table);
    const std::initializer_list<const char*> western = {"a",    "b",    "e", "o", "s", "z",    "A",    "\xE4", "\xF6",
                                                        "\xFC", "\xDF", "-", "'", " ", "\xC4", "\xE9", "\xC9"};
    const std::pair<const char*, std::vector<WordRecord>> cases[] = {
        {"klingon", RandomWords(5, {"a", "B", "c", "-", "'", "x", "y", "Z"}, 5)},
        {"german,german,0", RandomWords(11, western, 0)},
    };
    for (auto [language, records] : cases) {
        // Keys alike in their first eight bytes that differ past their last whole eight, the
        // shorter one last.
        records[0] = Record("photosynthetic");
        records[1] = Record("photosynthesising");
        Open(language, records);
        std::vector<std::vector<std::string>> orders;
        std::vector<std::int64_t> comparisons;
        for (std::size_t from : {std::size_t{1} << 30, std::size_t{2}}) {
            WriteRecords(path, records);
            ReopenStore();
            Recorder progress;
            EXPECT_EQ(SortStore(&progress, 0, from), 0);
            orders.push_back(WordsIn(path));
            comparisons.push_back(SortComparisons);
            // Progress every thousand records read and written, and every two thousand comparisons.
            EXPECT_EQ(progress.shown[SortPhase::Reading], (std::vector<std::int64_t>{0, 1000, 2000}));
            EXPECT_EQ(progress.shown[SortPhase::Writing], (std::vector<std::int64_t>{0, 1000, 2000}));
            std::vector<std::int64_t> compared;
            for (std::int64_t n = 0; n < SortComparisons; n += 2000) compared.push_back(n);
            EXPECT_EQ(progress.shown[SortPhase::Sorting], compared);
        }
        EXPECT_EQ(orders[0], orders[1]) << language;
        EXPECT_EQ(comparisons[0], comparisons[1]) << language;
        ExpectSearchable();

        const std::vector<WordRecord> sorted = ReadRecords(path);
        std::vector<WordRecord> tail = RandomWords(22, {"a", "b", "x", "A", "-", "\xE9"}, 4);
        tail.resize(500);
        const std::int32_t body = static_cast<std::int32_t>(ReadRecords(path).size()),
                           live = static_cast<std::int32_t>(
                               std::count_if(tail.begin(), tail.end(), [](const WordRecord&r) { return !r.deleted; }));
        for (bool bodyInOrder : {true, false}) {
            std::vector<WordRecord> file = sorted;
            if (!bodyInOrder) std::swap(file[10], file[2000]);
            file.insert(file.end(), tail.begin(), tail.end());
            WriteRecords(path, file);
            ReopenStore();
            ASSERT_EQ(SortStore(nullptr, body), 0);
            EXPECT_EQ(WordCount, body + live);
            EXPECT_EQ(SortKeysMade, bodyInOrder ? live : WordCount);
            ExpectSearchable();
        }
    }
}
