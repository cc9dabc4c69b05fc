#include "core/store/collation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/message.h"
#include "core/store/sort_table.h"
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
    CollationLocale = 0;
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

TEST(Collation, LanguageCodesByWholeName) {
    std::vector<std::string> messages;
    static std::vector<std::string>* sink;
    sink = &messages;
    SetMessageHandler([](const UserMessage& m) { sink->push_back(m.caption + ": " + m.text); });
    EXPECT_EQ(LanguageCodeOf("dutch"), 0x13);
    EXPECT_EQ(LanguageCodeOf("DUTCH"), 0x13);
    EXPECT_EQ(LanguageCodeOf("Serbian"), LanguageCodeOf("croatian"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(LanguageCodeOf("english-usa"), 0);
    EXPECT_EQ(messages, std::vector<std::string>{"error: Unknown locale : english-usa"});
    SetMessageHandler(nullptr);
}

TEST(Collation, RefusedLocaleKeepsThePreviousOne) {
    WorkDir dir;
    UseStrings({{"ErrorLocale", "That locale is unknown."}});
    WriteFile("cat.ini", "[languages]\ngerman,german-swiss\nklingon,klingon\n");
    ASSERT_EQ(BuildCatalogue(), 0);
    static std::vector<std::string> messages;
    messages.clear();
    SetMessageHandler([](const UserMessage& m) { messages.push_back(m.text); });
    CurrentPair = PairAt(0);
    SetCollation(*PairAt(0), LocaleReport::NoOwner);
    EXPECT_EQ(CollationLocale, CollationLocaleOf("German-Swiss"));
    CurrentPair = PairAt(1);
    SetCollation(*PairAt(1), LocaleReport::Silent);
    EXPECT_EQ(CollationLocale, CollationLocaleOf("german-swiss"));
    SetCollation(*PairAt(1), LocaleReport::MainWindow);
    EXPECT_EQ(messages, (std::vector<std::string>{"Unknown locale : german-swiss", "Unknown locale : klingon",
                                                  "That locale is unknown.", "Unknown locale : klingon"}));
    SetMessageHandler(nullptr);
    CollationLocale = 0;
}

TEST(Collation, EveryOfferedLocaleNameIsItsOwnLocale) {
    // ISO 639 language and ISO 3166 country of each name.
    const std::map<std::string, std::pair<std::string, std::string>> expected = {
        {"czech", {"cs", "CZ"}}, {"danish", {"da", "DK"}}, {"belgian", {"nl", "BE"}}, {"dutch", {"nl", "NL"}},
        {"australian", {"en", "AU"}}, {"canadian", {"en", "CA"}}, {"english", {"en", "US"}},
        {"english-nz", {"en", "NZ"}}, {"english-uk", {"en", "GB"}}, {"english-usa", {"en", "US"}},
        {"finnish", {"fi", "FI"}}, {"french-belgian", {"fr", "BE"}}, {"french-canadian", {"fr", "CA"}},
        {"french", {"fr", "FR"}}, {"french-swiss", {"fr", "CH"}}, {"german-austrian", {"de", "AT"}},
        {"german", {"de", "DE"}}, {"german-swiss", {"de", "CH"}}, {"greek", {"el", "GR"}},
        {"hungarian", {"hu", "HU"}}, {"icelandic", {"is", "IS"}}, {"italian", {"it", "IT"}},
        {"italian-swiss", {"it", "CH"}}, {"japanese", {"ja", "JP"}}, {"norwegian-bokmal", {"nb", "NO"}},
        {"korean", {"ko", "KR"}}, {"chinese", {"zh", "CN"}}, {"chinese-simplified", {"zh", "CN"}},
        {"chinese-traditional", {"zh", "TW"}}, {"norwegian", {"nb", "NO"}}, {"norwegian-nynorsk", {"nn", "NO"}},
        {"polish", {"pl", "PL"}}, {"portuguese-brazilian", {"pt", "BR"}}, {"portuguese", {"pt", "PT"}},
        {"russian", {"ru", "RU"}}, {"slovak", {"sk", "SK"}}, {"spanish", {"es", "ES"}},
        {"spanish-mexican", {"es", "MX"}}, {"spanish-modern", {"es", "ES"}}, {"swedish", {"sv", "SE"}},
        {"turkish", {"tr", "TR"}}, {"lithuanian", {"lt", "LT"}}, {"indonesian", {"id", "ID"}},
        {"albanian", {"sq", "AL"}}, {"bulgarian", {"bg", "BG"}}, {"arabic", {"ar", "SA"}},
        {"catalan", {"ca", "ES"}}, {"croatian", {"hr", "HR"}}, {"hebrew", {"he", "IL"}},
        {"romanian", {"ro", "RO"}}, {"serbian", {"sr", "RS"}}, {"thai", {"th", "TH"}}, {"urdu", {"ur", "PK"}},
    };
    ASSERT_EQ(expected.size(), std::size(kCollationLocales));
    for (const CollationLocaleName& locale : kCollationLocales) {
        ASSERT_TRUE(expected.count(locale.name)) << locale.name;
        EXPECT_EQ(CollationLocaleOf(locale.name), locale.langId);
#ifdef _WIN32
        const LCID lcid = MAKELCID(locale.langId, SORT_DEFAULT);
        char language[16] = "", country[16] = "";
        GetLocaleInfoA(lcid, LOCALE_SISO639LANGNAME, language, sizeof language);
        GetLocaleInfoA(lcid, LOCALE_SISO3166CTRYNAME, country, sizeof country);
        const auto& [wantLanguage, wantCountry] = expected.at(locale.name);
        EXPECT_EQ(language, wantLanguage) << locale.name;
        EXPECT_EQ(country, wantCountry) << locale.name;
        EXPECT_NE(CompareStringA(lcid, NORM_IGNORECASE | SORT_STRINGSORT, "a", -1, "B", -1), 0) << locale.name;
#endif
    }
    EXPECT_EQ(CollationLocaleOf("esperanto"), 0);
}
