#include "core/lists/list_storage.h"

#include <gtest/gtest.h>

#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "test_support.h"

TEST(ListStorage, EnumeratesDirectoriesInCaseInsensitiveOrder) {
    WorkDir dir;
    UseStrings();
    EXPECT_EQ(CountLists(), 0);  // no list root at all
    for (const char* name : {"lists/zoo", "lists/Animals", "lists/birds", "lists/.hidden", "lists/Birds2"})
        std::filesystem::create_directories(name);
    WriteFile("lists/notes.txt", "not a list");
    EXPECT_EQ(EnumerateLists(), (std::vector<std::string>{"Animals", "birds", "Birds2", "zoo"}));
    EXPECT_EQ(CountLists(), 4);

    Settings.PracticeList.clear();
    Settings.ListID = 812;
    EXPECT_EQ(SelectFirstList(), 800);
    EXPECT_EQ(Settings.PracticeList, "Animals");
    EXPECT_EQ(Settings.ListID, 800);

    EXPECT_TRUE(PracticeListExists("ANIMALS"));
    EXPECT_TRUE(PracticeListExists("zoo"));
    EXPECT_FALSE(PracticeListExists("notes.txt"));
    EXPECT_FALSE(PracticeListExists(".hidden"));
    EXPECT_FALSE(PracticeListExists("Animal"));
}

TEST(ListStorage, NoListsMeansNoFirstList) {
    WorkDir dir;
    UseStrings();
    std::filesystem::create_directories("lists/.only-hidden");
    Settings.PracticeList.clear();
    EXPECT_EQ(SelectFirstList(), 0);
    EXPECT_TRUE(Settings.PracticeList.empty());
}

namespace {

class ListFilesTest : public testing::Test {
protected:
    void SetUp() override {
        UseStrings();
        WriteFile("cat.ini", "[languages]\ngerman\n");
        ASSERT_EQ(BuildCatalogue(), 0);
        CurrentPair = PairAt(0);
        WriteRecords("words/ger_dut.gk", {Record("Apfel", "appel"), Record("alt", "oud", 1), Record("Haus", "huis")});
        WriteRecords("words/dut_ger.gk", {Record("huis", "Haus")});
        std::filesystem::create_directories("lists/week1");
        Settings.PracticeList = "week1";
        Settings.ListID = 800;
        OpenStore();
        CountRecords();
    }
    void TearDown() override { CloseStore(); }

    void Append(const WordRecord& record) {
        CurrentRecord = record;
        ASSERT_EQ(WriteListEntry(ListCount), 0);
        ++ListCount;
    }

    WorkDir dir;
};

}  // namespace

TEST_F(ListFilesTest, NamesWithForbiddenCharactersAreRefused) {
    for (const char* bad : {"week.1", "a/b", "a\\b", "<x>", "a|b", "\"q\"", "wh*", "what?", "c:"})
        EXPECT_FALSE(ListNameAllowed(bad)) << bad;
    for (const char* good : {"Verbs", "week 1", "les-2", "caf\xE9"}) EXPECT_TRUE(ListNameAllowed(good)) << good;
}

TEST_F(ListFilesTest, TypedNamesOfExistingListsTakeTheirSpelling) {
    std::filesystem::create_directories("lists/Verbs");
    MakeListCurrent("WEEK1");
    EXPECT_EQ(Settings.PracticeList, "week1");
    EXPECT_EQ(Settings.ListID, 801);  // after Verbs
    MakeListCurrent("animals");
    EXPECT_TRUE(std::filesystem::is_directory("lists/animals"));
    EXPECT_EQ(Settings.ListID, 800);
    EXPECT_EQ(ListIdOf("verbs"), 801);
    // A name whose directory cannot be made changes nothing.
    UseStrings({{"PathNameList", "no-such-root\\"}});
    MakeListCurrent("fresh");
    EXPECT_EQ(Settings.PracticeList, "animals");
    EXPECT_EQ(Settings.ListID, 800);
}

TEST_F(ListFilesTest, FillCopiesTheWordFileAndOverwrites) {
    ASSERT_EQ(FillListFromWordFile(), 0);
    ASSERT_EQ(FillListFromWordFile(), 0);
    EXPECT_EQ(ListCount, 3);
    EXPECT_EQ(ReadFile("lists/week1/ger_dut.ls"), ReadFile("words/ger_dut.gk"));
    ASSERT_EQ(ReadListEntry(1), 0);
    EXPECT_EQ(CurrentRecord.deleted, 1);
    EXPECT_EQ(WordCount, 3);
    EXPECT_FALSE(Exists("list.tmp"));

    // The list directory comes back if it vanished.
    CloseStore();
    std::filesystem::remove_all("lists/week1");
    OpenStore();
    CountRecords();
    ASSERT_EQ(FillListFromWordFile(), 0);
    EXPECT_EQ(ListCount, 3);
}

TEST_F(ListFilesTest, CompactKeepsOrderAndDropsMarks) {
    Append(Record("a"));
    Append(Record("b", "", 1));
    Append(Record("c"));
    Append(Record("d", "", -1));
    ASSERT_EQ(CompactCurrentList(), 0);
    EXPECT_EQ(ListCount, 2);
    std::vector<WordRecord> kept = ReadRecords("lists/week1/ger_dut.ls");
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_STREQ(kept[0].word, "a");
    EXPECT_STREQ(kept[1].word, "c");

    for (std::int32_t i = 0; i < ListCount; ++i) {
        ReadListEntry(i);
        CurrentRecord.deleted = 1;
        WriteListEntry(i);
    }
    ASSERT_EQ(CompactCurrentList(), 0);
    EXPECT_EQ(ReadFile("lists/week1/ger_dut.ls").size(), 0u);
}

TEST_F(ListFilesTest, CompactWithoutTemporaryFileLeavesTheList) {
    Append(Record("a", "", 1));
    UseStrings({{"FilenameTempList", "missing-dir\\list.tmp"}});
    EXPECT_EQ(CompactCurrentList(), -1);
    EXPECT_EQ(ListCount, 1);
    EXPECT_EQ(ReadRecords("lists/week1/ger_dut.ls").size(), 1u);
}

TEST_F(ListFilesTest, ClearAndPairSwitchUseTheSameDirectory) {
    Append(Record("a"));
    ClearCurrentList();
    EXPECT_EQ(ListCount, 0);
    EXPECT_TRUE(Exists("lists/week1/ger_dut.ls"));
    Append(Record("b"));
    CurrentPair = PairAt(1);
    CloseStore();
    OpenStore();
    CountRecords();
    EXPECT_EQ(ListCount, 0);
    EXPECT_TRUE(Exists("lists/week1/dut_ger.ls"));
    EXPECT_EQ(ReadRecords("lists/week1/ger_dut.ls").size(), 1u);
}

TEST_F(ListFilesTest, DeleteRemovesEveryFileAndPicksTheFirstLeft) {
    std::filesystem::create_directories("lists/animals");
    Append(Record("a"));
    WriteFile("lists/week1/dut_ger.ls", "");
    WriteFile("lists/week1/ger_dut.score", "1 2");
    EXPECT_EQ(DeleteCurrentList(), 0);
    EXPECT_FALSE(Exists("lists/week1"));
    EXPECT_EQ(Settings.PracticeList, "animals");
    EXPECT_EQ(Settings.ListID, 800);
    EXPECT_TRUE(Exists("lists/animals/ger_dut.ls"));
}
