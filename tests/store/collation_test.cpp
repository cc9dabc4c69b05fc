#include "store/collation.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// A table that orders bytes by value, with the given weights changed.
void UseTable(std::initializer_list<std::pair<unsigned char, unsigned char>> changes) {
    for (int b = 0; b < 256; ++b) SortTable[b] = static_cast<unsigned char>(b < 2 ? 2 : b);
    SortTable[0] = 0;
    for (auto [byte, weight] : changes) SortTable[byte] = weight;
}

}  // namespace

TEST(Collation, WithoutLocaleAsciiLettersFoldToOneCase) {
    EXPECT_EQ(CollateCompare("Apple", "apple"), 0);
    EXPECT_LT(CollateCompare("apple", "Banana"), 0);
    EXPECT_GT(CollateCompare("apples", "APPLE"), 0);
    EXPECT_LT(CollateCompare("", "a"), 0);
}

TEST(Collation, TableIgnoresWeightOneAndCutsAtWeightZero) {
    UseTable({{'-', 1}});
    EXPECT_EQ(TableCompare("e-mail", "email"), 0);
    EXPECT_LT(TableCompare("e-mail", "emails"), 0);
    UseTable({{'#', 0}});
    EXPECT_EQ(TableCompare("abc#xyz", "abc#def"), 0);
    EXPECT_EQ(TableCompare("abc#xyz", "abc"), 0);
    UseTable({});
    EXPECT_GT(Sign(TableCompare("a", "B")), 0);
    UseTable({{'a', 'B'}, {'B', 'a'}});  // the weights, not the bytes, decide
    EXPECT_LT(Sign(TableCompare("a", "B")), 0);
    UseTable({});
    EXPECT_LT(TableCompare("\x7F", "\xE9"), 0);  // weights compare unsigned
}

TEST(Collation, SortTableFilesPresentShortAndLong) {
    WorkDir dir;
    UseStrings();
    WriteFile("cat.ini", "[languages]\nswedish\n");
    std::string table(300, '\x05');
    table[0] = 0;
    WriteFile("tables/swedish.stb", table);
    ASSERT_EQ(BuildCatalogue(), 0);
    EXPECT_EQ(HasSortTable("swedish"), 1);
    EXPECT_EQ(HasSortTable("dutch"), 0);
    EXPECT_EQ(PairAt(0)->hasSortTable, 1);
    EXPECT_EQ(PairAt(1)->hasSortTable, 0);

    CurrentPair = PairAt(0);
    std::memset(SortTable, 9, sizeof SortTable);
    LoadSortTable();
    EXPECT_EQ(SortTable[255], 5);  // bytes after the 256th are not read

    WriteFile("tables/swedish.stb", std::string(10, '\x07'));
    std::memset(SortTable, 9, sizeof SortTable);
    LoadSortTable();
    EXPECT_EQ(SortTable[9], 7);
    EXPECT_EQ(SortTable[10], 9);  // a short table keeps the earlier entries
    // The pair's comparator is the table's.
    EXPECT_EQ(CompareWords("abc", "xyz"), 0);
}
