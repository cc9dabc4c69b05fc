#include "core/store/store.h"

#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "test_support.h"

namespace {

// The pair german into dutch, its word file words\ger_dut.gk holding `bytes`, with the
// practice list week1.
class StoreTest : public InWorkDir {
protected:
    void SetUp() override {
        UseCatalogue("[languages]\ngerman\n");
        CurrentPair = PairAt(0);
        SetStoreAccess(StoreAccess::ReadWrite);
        std::filesystem::create_directories("lists/week1");
        Settings.PracticeList = "week1";
    }
    void Open(const std::string& bytes) {
        WriteFile("words/ger_dut.gk", bytes);
        ReopenStore();
    }
    void Open(const std::vector<WordRecord>& records) { Open(RecordBytes(records)); }
};

}  // namespace

// Whole records only; fields without a terminator end at their last character. A read at the
// count leaves the record as it was; further out, it is emptied.
TEST_F(StoreTest, RecordsAsWrittenByHandAndReadsOutsideTheFile) {
    Open(RecordBytes({Record("Apfel", "appel")}) + std::string(84, 'a') + "partial");
    ASSERT_EQ(WordCount, 2);
    ASSERT_EQ(ReadWord(1), 0);
    EXPECT_EQ(std::strlen(CurrentRecord.word), 30u);
    EXPECT_EQ(std::strlen(CurrentRecord.translation), 50u);
    EXPECT_EQ(ReadWord(WordCount), -1);
    EXPECT_EQ(std::strlen(CurrentRecord.word), 30u);
    for (std::int32_t n : {-1, WordCount + 1}) {
        ReadWord(1);
        EXPECT_EQ(ReadWord(n), -1);
        const WordRecord zero{};
        EXPECT_EQ(std::memcmp(&CurrentRecord, &zero, sizeof zero), 0) << n;
    }
    Open(std::vector<WordRecord>{});
    EXPECT_EQ(WordCount, 0);
    EXPECT_EQ(FindWord("anything"), 0);
}

TEST_F(StoreTest, FindWordReturnsMatchOrInsertionPoint) {
    Open({Record("apple"), Record("Banana"), Record("cherry"), Record("cherry"), Record("date")});
    // Each limit with its keys and where they are found. Only the first `limit` records count:
    // an appended unsorted tail stays outside.
    const std::pair<std::int32_t, std::vector<std::pair<const char*, std::int32_t>>> cases[] = {
        {5, {{"BANANA", 1}, {"aardvark", 0}, {"blueberry", 2}, {"zucchini", 5}}},
        {3, {{"date", 3}}},
        {0, {{"date", 0}}},
    };
    for (const auto& [limit, keys] : cases) {
        for (auto [key, expected] : keys) EXPECT_EQ(FindWord(key, limit), expected) << key << " " << limit;
    }
}

// What each access allows: the checker reads only, the sort writes only the word file.
TEST_F(StoreTest, AccessDecidesWhichFilesAreWritten) {
    // Each access with whether the word file and the list file are written.
    const std::tuple<StoreAccess, bool, bool> cases[] = {{StoreAccess::ReadWrite, true, true},
                                                         {StoreAccess::WordFileOnly, true, false},
                                                         {StoreAccess::ReadOnly, false, false}};
    for (auto [access, words, list] : cases) {
        WriteRecords("words/ger_dut.gk", {Record("Haus")});
        WriteRecords("lists/week1/ger_dut.ls", {Record("Haus")});
        SetStoreAccess(access);
        ReopenStore();
        EXPECT_EQ(WordCount, 1);
        EXPECT_EQ(WriteWord(0) == 0, words) << static_cast<int>(access);
        EXPECT_EQ(WriteListEntry(0) == 0, list) << static_cast<int>(access);
        CloseStore();
    }
}

// Counted from the file's size, deleted records included; a missing file is none. The
// store stays on its pair and no file is made.
TEST_F(StoreTest, RecordsOfAnyPairCountedFromTheFileAlone) {
    Open({Record("a"), Record("b", "", 1)});
    WriteFile("words/dut_ger.gk", RecordBytes({Record("a"), Record("b"), Record("c")}) + "half a record");
    EXPECT_EQ(CountWordFileRecords(*PairAt(1)), 3);
    std::filesystem::remove("words/dut_ger.gk");
    const std::map<std::string, std::string> before = FilesHere();
    EXPECT_EQ(CountWordFileRecords(*PairAt(0)), 2);
    EXPECT_EQ(CountWordFileRecords(*PairAt(1)), std::nullopt);
    EXPECT_EQ(FilesHere(), before);
    EXPECT_EQ(CurrentPair, PairAt(0));
}
