#include "lists/list_storage.h"

#include <gtest/gtest.h>

#include "shell/settings.h"
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
