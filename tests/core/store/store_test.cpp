#include "core/store/store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/settings/settings.h"
#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "test_support.h"

namespace {

class StoreTest : public testing::Test {
protected:
    void SetUp() override {
        UseStrings();
        Settings.PracticeList.clear();
        Settings.ListID = 800;
        WriteFile("cat.ini", "[languages]\ngerman\n");
        ASSERT_EQ(BuildCatalogue(), 0);
        CurrentPair = PairAt(0);  // german into dutch: words\ger_dut.gk
        SetStoreAccess(StoreAccess::ReadWrite);
    }
    void TearDown() override { CloseStore(); }

    void Open(const std::vector<WordRecord>& records) {
        WriteRecords("words/ger_dut.gk", records);
        OpenStore();
        CountRecords();
    }

    WorkDir dir;
};

std::vector<WordRecord> Alphabet(int n) {
    std::vector<WordRecord> records;
    for (int i = 0; i < n; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, "w%05d", i * 2);
        records.push_back(Record(word, "t"));
    }
    return records;
}

}  // namespace

TEST_F(StoreTest, ReadsRecordWrittenByHand) {
    unsigned char bytes[84] = {};
    std::memcpy(bytes, "Haus", 4);
    std::memcpy(bytes + 31, "huis, woning", 12);
    bytes[82] = 0x01;
    bytes[83] = 0x00;
    WriteFile("words/ger_dut.gk", std::string(reinterpret_cast<char*>(bytes), 84));
    OpenStore();
    CountRecords();
    ASSERT_EQ(WordCount, 1);
    ASSERT_EQ(ReadWord(0), 0);
    EXPECT_STREQ(CurrentRecord.word, "Haus");
    EXPECT_STREQ(CurrentRecord.translation, "huis, woning");
    EXPECT_EQ(CurrentRecord.deleted, 1);
}

TEST_F(StoreTest, FieldsWithoutTerminatorStopInsideTheField) {
    std::string bytes(84, '\0');
    std::fill(bytes.begin(), bytes.begin() + 82, 'a');  // no zero byte in either field
    WriteFile("words/ger_dut.gk", bytes);
    OpenStore();
    CountRecords();
    ASSERT_EQ(ReadWord(0), 0);
    EXPECT_EQ(std::strlen(CurrentRecord.word), 30u);
    EXPECT_EQ(std::strlen(CurrentRecord.translation), 50u);
}

TEST_F(StoreTest, CountsWholeRecordsOnly) {
    WriteFile("words/ger_dut.gk", std::string(170, 'x'));
    OpenStore();
    CountRecords();
    EXPECT_EQ(WordCount, 2);
    EXPECT_EQ(ReadWord(1), 0);
    EXPECT_EQ(ReadWord(2), -1);

    Open({});
    EXPECT_EQ(WordCount, 0);
    EXPECT_EQ(FindWord("anything"), 0);
}

TEST_F(StoreTest, ReadRangeRules) {
    Open({Record("Apfel", "appel"), Record("Haus", "huis")});
    ASSERT_EQ(ReadWord(1), 0);
    EXPECT_EQ(ReadWord(WordCount), -1);
    EXPECT_STREQ(CurrentRecord.word, "Haus");  // left as it was
    for (std::int32_t n : {-1, WordCount + 1}) {
        ReadWord(1);
        EXPECT_EQ(ReadWord(n), -1);
        WordRecord zero{};
        EXPECT_EQ(std::memcmp(&CurrentRecord, &zero, sizeof zero), 0) << n;
    }
}

TEST_F(StoreTest, AppendThenReadBack) {
    Open({Record("Apfel", "appel")});
    CurrentRecord = Record("Zug", "trein");
    ASSERT_EQ(WriteWord(WordCount), 0);
    ++WordCount;
    ASSERT_EQ(ReadWord(WordCount - 1), 0);
    EXPECT_STREQ(CurrentRecord.translation, "trein");
    ASSERT_EQ(ReadWord(0), 0);
    EXPECT_STREQ(CurrentRecord.word, "Apfel");
    EXPECT_EQ(ReadRecords("words/ger_dut.gk").size(), 2u);
}

TEST_F(StoreTest, FindWordReturnsMatchOrInsertionPoint) {
    Open({Record("apple"), Record("Banana"), Record("cherry"), Record("cherry"), Record("date")});
    EXPECT_EQ(FindWord("BANANA"), 1);
    EXPECT_EQ(FindWord("aardvark"), 0);
    EXPECT_EQ(FindWord("blueberry"), 2);
    EXPECT_EQ(FindWord("zucchini"), WordCount);
    std::int32_t cherry = FindWord("Cherry");
    EXPECT_TRUE(cherry == 2 || cherry == 3);
    // Only the first `limit` records count: an appended unsorted tail stays outside.
    EXPECT_EQ(FindWord("date", 3), 3);
    EXPECT_EQ(FindWord("date", 0), 0);
}

TEST_F(StoreTest, FindWordReadsAtMostLogarithmicallyManyRecords) {
    for (int n : {1, 2, 7, 1000, 4097}) {
        CloseStore();
        Open(Alphabet(n));
        const std::uint64_t bound = static_cast<std::uint64_t>(std::ceil(std::log2(n + 1.0))) + 1;
        for (int probe = -1; probe <= 2 * n; probe += std::max(1, n / 50)) {
            char key[16];
            std::snprintf(key, sizeof key, "w%05d", probe < 0 ? 0 : probe);
            std::uint64_t before = StoreRecordReads;
            std::int32_t at = FindWord(probe < 0 ? "a" : key);
            EXPECT_LE(StoreRecordReads - before, bound) << n << " " << probe;
            EXPECT_EQ(at, probe < 0 ? 0 : (probe + 1) / 2) << n << " " << probe;
        }
    }
}

TEST_F(StoreTest, ListFileFollowsTheCurrentList) {
    // No lists at all: no list file.
    Open({});
    EXPECT_EQ(ListCount, 0);
    EXPECT_EQ(ReadListEntry(0), -1);
    EXPECT_EQ(WriteListEntry(0), -1);
    CloseStore();

    // Lists but none current: the first one becomes current; its file is created.
    std::filesystem::create_directories("lists/week2");
    std::filesystem::create_directories("lists/Week1");
    Open({});
    EXPECT_EQ(Settings.PracticeList, "Week1");
    EXPECT_TRUE(Exists("lists/Week1/ger_dut.ls"));
    CurrentRecord = Record("Haus", "huis");
    ASSERT_EQ(WriteListEntry(ListCount), 0);
    ++ListCount;
    CloseListFile();
    OpenListFile();
    CountListRecords();
    EXPECT_EQ(ListCount, 1);
    WordRecord before = CurrentRecord;
    EXPECT_EQ(ReadListEntry(ListCount + 1), -1);
    EXPECT_EQ(std::memcmp(&before, &CurrentRecord, sizeof before), 0);
}

TEST_F(StoreTest, ReadOnlyStoreWritesNothing) {
    std::filesystem::create_directories("lists/week1");
    WriteRecords("words/ger_dut.gk", {Record("Haus")});
    SetStoreAccess(StoreAccess::ReadOnly);
    OpenStore();
    CountRecords();
    EXPECT_EQ(WordCount, 1);
    EXPECT_EQ(WriteWord(0), -1);
    EXPECT_FALSE(Exists("lists/week1/ger_dut.ls"));
    SetStoreAccess(StoreAccess::ReadWrite);
}

TEST_F(StoreTest, OverlongListPathIsRefusedNotCut) {
    UseStrings({{"PathNameList", "lists\\lists\\lists\\"}});
    WriteFile("cat.ini", "[languages]\nlongname,x,0," + std::string(86, 'L') + "\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    CurrentPair = PairAt(0);
    // 18 + 148 + 1 + 86 + 9 characters: one path too long for Windows.
    Settings.PracticeList = std::string(148, 'n');
    const std::string listDir = "lists/lists/lists/" + Settings.PracticeList;
    std::filesystem::create_directories(listDir);
    WriteRecords("words/" + std::string(WordFileName(*CurrentPair)), {});
    OpenStore();
    CountRecords();
    EXPECT_EQ(ListCount, 0);
    EXPECT_EQ(OpenListFile(), -1);
    EXPECT_TRUE(std::filesystem::is_empty(listDir));
}

#ifndef _WIN32
TEST_F(StoreTest, MissingWordFileEndsTheProgram) {
    EXPECT_EXIT(OpenStore(), testing::ExitedWithCode(1),
                "Dictionary: Can't open words\\\\ger_dut\\.gk   \n\nProgram aborted");
}
#endif
