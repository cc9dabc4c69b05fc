#include "core/store/collation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

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
    const struct {
        const char *a, *b;
        int sign;
    } cases[] = {{"Apple", "apple", 0},
                 {"apple", "Banana", -1},
                 {"apples", "APPLE", 1},
                 {"", "a", -1},
                 // Bytes from 0x80 on compare by value, unsigned, and do not fold.
                 {"\xE9t\xE9", "\xC9T\xC9", 1},
                 {"zoo", "\xC9t\xE9", -1},
                 {"\x7F", "\x80", -1}};
    for (const auto& c : cases) EXPECT_EQ(Sign(CollateCompare(c.a, c.b)), c.sign) << c.a << " " << c.b;
}

TEST(Collation, TableIgnoresWeightOneAndCutsAtWeightZero) {
    UseTable({{'-', 1}});
    EXPECT_EQ(TableCompare("e-mail", "email"), 0);
    EXPECT_LT(TableCompare("e-mail", "emails"), 0);
    UseTable({{'#', 0}});
    EXPECT_EQ(TableCompare("abc#xyz", "abc#def"), 0);
    EXPECT_EQ(TableCompare("abc#xyz", "abc"), 0);
    UseTable({{'a', 'B'}, {'B', 'a'}});  // the weights, not the bytes, decide
    EXPECT_LT(Sign(TableCompare("a", "B")), 0);
    UseTable({});
    EXPECT_GT(Sign(TableCompare("a", "B")), 0);
    EXPECT_LT(TableCompare("\x7F", "\xE9"), 0);  // weights compare unsigned
}

TEST(Collation, SortTableFilesPresentShortAndLong) {
    WorkDir dir;
    std::string table(300, '\x05');
    table[0] = 0;
    WriteFile("tables/swedish.stb", table);
    UseCatalogue("[languages]\nswedish\n");
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
    EXPECT_EQ(SortTable[10], 9);               // a short table keeps the earlier entries
    EXPECT_EQ(CompareWords("abc", "xyz"), 0);  // the pair's comparator is the table's
}

TEST(Collation, LanguageCodesOfTableNamesAndOfferedLocales) {
    MessageLog log;
    const std::pair<const char*, int> cases[] = {{"dutch", 0x13},
                                                 {"DUTCH", 0x13},
                                                 {"serbian", 0x1A},
                                                 {"croatian", 0x1A},
                                                 // Names of the locale list take their locale's primary language.
                                                 {"english-uk", 0x09},
                                                 {"english-usa", 0x09},
                                                 {"german-swiss", 0x07},
                                                 {"chinese-traditional", 0x04},
                                                 {"norwegian-nynorsk", 0x14},
                                                 {"spanish-modern", 0x0A},
                                                 {"portuguese-brazilian", 0x16}};
    for (auto [name, code] : cases) EXPECT_EQ(LanguageCodeOf(name), code) << name;
    for (const CollationLocaleName& locale : kCollationLocales)
        EXPECT_NE(LanguageCodeOf(locale.name), 0) << locale.name;
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(LanguageCodeOf("klingon"), 0);
    EXPECT_EQ(log.messages, std::vector<std::string>{"error: Unknown locale : klingon"});
}

TEST(Collation, RefusedLocaleKeepsThePreviousOne) {
    WorkDir dir;
    UseCatalogue("[languages]\ngerman,german-swiss\nklingon,klingon\n", {{"ErrorLocale", "That locale is unknown."}});
    MessageLog log;
    CurrentPair = PairAt(0);
    SetCollation(*PairAt(0), LocaleReport::NoOwner);
    EXPECT_EQ(CollationLocale, CollationLocaleOf("German-Swiss"));
    CurrentPair = PairAt(1);
    SetCollation(*PairAt(1), LocaleReport::Silent);
    EXPECT_EQ(CollationLocale, CollationLocaleOf("german-swiss"));
    SetCollation(*PairAt(1), LocaleReport::MainWindow);
    EXPECT_EQ(log.messages,
              (std::vector<std::string>{"error: Unknown locale : klingon", "Dictionary: That locale is unknown.",
                                        "error: Unknown locale : klingon"}));
    CollationLocale = 0;
}

TEST(Collation, EveryOfferedLocaleNameIsItsOwnLocale) {
    // ISO 639 language and ISO 3166 country of each name.
    std::map<std::string, std::string> expected;
    std::istringstream table(
        "czech cs-CZ danish da-DK belgian nl-BE dutch nl-NL australian en-AU canadian en-CA english en-US "
        "english-nz en-NZ english-uk en-GB english-usa en-US finnish fi-FI french-belgian fr-BE french-canadian fr-CA "
        "french fr-FR french-swiss fr-CH german-austrian de-AT german de-DE german-swiss de-CH greek el-GR "
        "hungarian hu-HU icelandic is-IS italian it-IT italian-swiss it-CH japanese ja-JP norwegian-bokmal nb-NO "
        "korean ko-KR chinese zh-CN chinese-simplified zh-CN chinese-traditional zh-TW norwegian nb-NO "
        "norwegian-nynorsk nn-NO polish pl-PL portuguese-brazilian pt-BR portuguese pt-PT russian ru-RU slovak sk-SK "
        "spanish es-ES spanish-mexican es-MX spanish-modern es-ES swedish sv-SE turkish tr-TR lithuanian lt-LT "
        "indonesian id-ID albanian sq-AL bulgarian bg-BG arabic ar-SA catalan ca-ES croatian hr-HR hebrew he-IL "
        "romanian ro-RO serbian sr-RS thai th-TH urdu ur-PK");
    for (std::string name, code; table >> name >> code;) expected[name] = code;
    ASSERT_EQ(expected.size(), std::size(kCollationLocales));
    for (const CollationLocaleName& locale : kCollationLocales) {
        ASSERT_TRUE(expected.count(locale.name)) << locale.name;
        EXPECT_EQ(CollationLocaleOf(locale.name), locale.langId);
#ifdef _WIN32
        const LCID lcid = MAKELCID(locale.langId, SORT_DEFAULT);
        char language[16] = "", country[16] = "";
        GetLocaleInfoA(lcid, LOCALE_SISO639LANGNAME, language, sizeof language);
        GetLocaleInfoA(lcid, LOCALE_SISO3166CTRYNAME, country, sizeof country);
        EXPECT_EQ(std::string(language) + "-" + country, expected.at(locale.name));
        EXPECT_NE(CompareStringA(lcid, NORM_IGNORECASE | SORT_STRINGSORT, "a", -1, "B", -1), 0) << locale.name;
#endif
    }
    EXPECT_EQ(CollationLocaleOf("esperanto"), 0);
}
