#include "core/lists/list_storage.h"

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The pair german into dutch over three records, one deleted, with the list week1 current.
class ListTest : public InWorkDir {
protected:
    void SetUp() override {
        OpenPair("[languages]\ngerman\n", {Record("Apfel", "appel"), Record("alt", "oud", 1), Record("Haus", "huis")},
                 "week1");
    }
    void Append(std::initializer_list<WordRecord> records) {
        for (const WordRecord& record : records) {
            CurrentRecord = record;
            ASSERT_EQ(WriteListEntry(ListCount++), 0);
        }
    }
};

}  // namespace

// Directories made by other programs under names the new-list dialog refuses are no
// lists: a cut name would be a phantom list, and on Windows a name whose characters the
// code page only approximates names another directory ("\u0105" read as "a"), or leads out
// of the root ("\uFF3C" read as a backslash), so deleting it would empty the word files'.
TEST_F(ListTest, EnumerationIsCaseInsensitiveAndSkipsDotsFilesAndNamesTheDialogWouldRefuse) {
    for (const char* name : {"lists/zoo", "lists/Animals", "lists/.hidden", "lists/Week10"})
        fs::create_directories(name);
    fs::create_directories("lists/" + std::string(149, 'a'));  // first in order, were it a list
#ifndef _WIN32
    for (const char* name : {"aux", "Nul", "x:y"}) fs::create_directories(std::string("lists/") + name);
#else
    fs::create_directories(fs::path(L"lists/a\uFF3C\uFF0E\uFF0E\uFF3C\uFF0E\uFF0E\uFF3Cwords"));
    fs::create_directories(fs::path(L"lists/\u0105\u0107"));
#endif
    WriteFile("lists/notes.txt", "not a list");
    EXPECT_EQ(EnumerateLists(), (std::vector<std::string>{"Animals", "week1", "Week10", "zoo"}));
    for (const char* name : {"ANIMALS", "zoo"}) EXPECT_TRUE(PracticeListExists(name)) << name;
    for (const char* name : {"notes.txt", ".hidden", "Animal"}) EXPECT_FALSE(PracticeListExists(name)) << name;
}

TEST_F(ListTest, TypedNames) {
    // Which names Windows keeps is the file names' test's.
    for (const char* bad : {"week.1", "what?", "aux", "CONIN$"}) EXPECT_FALSE(ListNameAllowed(bad)) << bad;
    for (const char* good : {"Verbs", "week 1", "les-2", "caf\xE9"}) EXPECT_TRUE(ListNameAllowed(good)) << good;
    // Windows drops trailing blanks and full stops from a directory name.
    const std::pair<const char*, const char*> trimmed[] = {
        {"week 3. .", "week 3"}, {" a b ", " a b"}, {"...", ""}, {"x.y", "x.y"}};
    for (auto [typed, kept] : trimmed) EXPECT_EQ(TrimmedListName(typed), kept) << typed;

    fs::create_directories("lists/Verbs");
    EXPECT_TRUE(MakeListCurrent("WEEK1"));  // an existing list as the disk spells it
    EXPECT_EQ(std::tuple(Settings.PracticeList, Settings.ListID), std::tuple("week1", 801));
    EXPECT_TRUE(MakeListCurrent("animals"));
    EXPECT_TRUE(fs::is_directory("lists/animals"));
    EXPECT_EQ(Settings.ListID, 800);
    // Too long is refused, never cut into another name; a directory that cannot be made changes nothing.
    EXPECT_FALSE(MakeListCurrent(std::string(149, 'n')));
    UseStrings({{"PathNameList", "no-such-root\\"}});
    EXPECT_FALSE(MakeListCurrent("fresh"));
    EXPECT_EQ(Settings.PracticeList, "animals");
    UseStrings();
    EXPECT_FALSE(Exists("lists/" + std::string(148, 'n')));
}

TEST_F(ListTest, ListFileFollowsThePairAndTheList) {
    Append({Record("a")});
    CurrentPair = PairAt(1);
    ReopenStore();
    EXPECT_EQ(ListCount, 0);
    EXPECT_TRUE(Exists("lists/week1/dut_ger.ls"));
    EXPECT_EQ(ReadRecords("lists/week1/ger_dut.ls").size(), 1u);
    // Without a current list the first list becomes current when the file is opened.
    Settings.PracticeList.clear();
    fs::create_directories("lists/Animals");
    ReopenListFile();
    EXPECT_EQ(Settings.PracticeList, "Animals");
    EXPECT_TRUE(Exists("lists/Animals/dut_ger.ls"));
    // No lists at all (a hidden directory is none): no list file.
    CloseStore();
    fs::remove_all("lists");
    fs::create_directories("lists/.only-hidden");
    Settings.PracticeList.clear();
    EXPECT_EQ(SelectFirstList(), 0);
    ReopenStore();
    EXPECT_EQ(CountLists(), 0);
    EXPECT_EQ(ListCount, 0);
    EXPECT_EQ(WriteListEntry(0), -1);
}

// Deleting a list removes every file of it and makes the first list left current.
TEST_F(ListTest, CompactFillClearAndDelete) {
    Append({Record("a"), Record("b", "", 1), Record("c"), Record("d", "", -1), Record("e", "", 2)});
    ASSERT_EQ(CompactCurrentList(), 0);
    EXPECT_EQ(ListCount, 2);
    EXPECT_EQ(WordsIn("lists/week1/ger_dut.ls"), (std::vector<std::string>{"a", "c"}));
    for (int i = 0; i < 2; ++i) ASSERT_EQ(FillListFromWordFile(), 0);
    EXPECT_EQ(ListCount, 3);
    EXPECT_EQ(ReadFile("lists/week1/ger_dut.ls"), ReadFile("words/ger_dut.gk"));  // deleted records arrive marked
    EXPECT_FALSE(Exists("list.tmp"));
    CloseListFile();
    fs::remove_all("lists/week1");  // the list directory comes back if it vanished
    ASSERT_EQ(FillListFromWordFile(), 0);
    EXPECT_EQ(ListCount, 3);
    ClearCurrentList();
    EXPECT_EQ(ListCount, 0);
    EXPECT_EQ(ReadFile("lists/week1/ger_dut.ls").size(), 0u);

    fs::create_directories("lists/animals");
    WriteFile("lists/week1/dut_ger.ls", "");
    WriteFile("lists/week1/ger_dut.score", "1 2");
    EXPECT_EQ(DeleteCurrentList(), 0);
    EXPECT_FALSE(Exists("lists/week1"));
    EXPECT_EQ(std::tuple(Settings.PracticeList, Settings.ListID), std::tuple("animals", 800));
    EXPECT_TRUE(Exists("lists/animals/ger_dut.ls"));
}
