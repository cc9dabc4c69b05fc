#include "core/store/collation.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/sort_table.h"
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

TEST(Collation, WithoutLocaleOnlyAsciiLettersFold) {
    CollationLocale = 0;
    // Each sign with the pairs that compare so. Bytes from 0x80 on compare by value,
    // unsigned, and do not fold.
    const std::pair<int, std::vector<std::pair<const char*, const char*>>> cases[] = {
        {0, {{"Apple", "apple"}}},
        {-1, {{"apple", "Banana"}, {"", "a"}, {"zoo", "\xC9t\xE9"}, {"\x7F", "\x80"}}},
        {1, {{"apples", "APPLE"}, {"\xE9t\xE9", "\xC9T\xC9"}}},
    };
    for (const auto& [sign, pairs] : cases) {
        for (auto [a, b] : pairs) {
            EXPECT_EQ(Sign(CollateCompare(a, b)), sign) << a << " " << b;
            std::string keyA, keyB;  // the sort's keys, compared as unsigned bytes, agree
            AppendCollationKey(Collation{}, a, keyA);
            AppendCollationKey(Collation{}, b, keyB);
            EXPECT_EQ(Sign(keyA.compare(keyB)), sign) << a << " " << b;
        }
    }
}

// The weights, not the bytes, decide, compared unsigned.
TEST(Collation, TableIgnoresWeightOneAndCutsAtWeightZero) {
    UseTable({{'-', 1}, {'#', 0}, {'a', 'B'}, {'B', 'a'}});
    EXPECT_EQ(TableCompare("e-mail", "email"), 0);
    EXPECT_LT(TableCompare("e-mail", "emails"), 0);
    EXPECT_EQ(TableCompare("abc#xyz", "abc#def"), 0);
    EXPECT_EQ(TableCompare("abc#xyz", "abc"), 0);
    EXPECT_LT(TableCompare("a", "B"), 0);
    EXPECT_LT(TableCompare("\x7F", "\xE9"), 0);
}

// A pair's sort table is its comparator, read no further than the 256th byte; a refused
// locale keeps the previous one, and is logged, as no offered one is.
TEST(Collation, SortTableFilesAndRefusedLocales) {
    WorkDir dir;
    std::string table(300, '\x05');
    table[0] = 0;
    WriteFile("tables/swedish.stb", table);
    UseCatalogue("[languages]\nswedish\ngerman,german-swiss\nklingon,klingon\n",
                 {{"ErrorLocale", "That locale is unknown."}});
    EXPECT_EQ(std::tuple(PairAt(0)->hasSortTable, PairAt(1)->hasSortTable), std::tuple(1, 0));
    CurrentPair = PairAt(0);
    LoadSortTable();
    EXPECT_EQ(SortTable[255], 5);
    EXPECT_EQ(CompareWords("abc", "xyz"), 0);

    MessageLog log;
    for (const CollationLocaleName& locale : kCollationLocales) LanguageCodeOf(locale.name);
    CurrentPair = PairAt(1);
    SetCollation(*PairAt(1), LocaleReport::NoOwner);
    EXPECT_EQ(CollationLocale, CollationLocaleOf("German-Swiss"));
    CurrentPair = PairAt(2);
    SetCollation(*PairAt(2), LocaleReport::Silent);
    EXPECT_EQ(CollationLocale, CollationLocaleOf("german-swiss"));
    SetCollation(*PairAt(2), LocaleReport::MainWindow);
    EXPECT_EQ(log.messages,
              (std::vector<std::string>{"error: Unknown locale : klingon", "Dictionary: That locale is unknown.",
                                        "error: Unknown locale : klingon"}));
    CollationLocale = 0;
}
