// How the words of a pair compare: by a sort table of byte weights when the pair's
// first language has one, else by the case-insensitive locale collation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/catalogue/catalogue.h"

// Weight of every byte value; 1 means ignored, 0 ends the text.
extern unsigned char SortTable[256];

// The Windows language id of the collation locale; 0 while none was set, when the
// ASCII letters fold to one case and other bytes compare by value.
extern std::uint16_t CollationLocale;
// The primary language id of the current pair's locale name, 0 when unknown.
extern int CurrentLanguageCode;

// The locale names a user can give a language, and the locale each stands for.
struct CollationLocaleName {
    const char* name;
    std::uint16_t langId;
};
extern const CollationLocaleName kCollationLocales[53];
// The language id of a locale name in any letter case; 0 when the name is not one.
std::uint16_t CollationLocaleOf(const char* name);

// Reads the current pair's sort table, when it has one.
void LoadSortTable();
int LanguageCodeOf(const char* localeName);

int CollateCompare(const char* a, const char* b);
int TableCompare(const char* a, const char* b);

// The comparator of the current pair; searching and sorting both use this.
int CompareWords(const char* a, const char* b);
// Appends the key of a word under the current pair's comparator and returns its
// length: keys compared as unsigned bytes order words exactly as CompareWords does.
std::size_t AppendCollationKey(const char* word, std::string& keys);

// One pair's comparator as a value, made whole so that a pair's words can be sorted while
// another pair is current, or beside another pair's sort (an import sorts the pair's and the
// reverse pair's words at once).
struct Collation {
    std::uint16_t locale = 0;  // as CollationLocale
    bool table = false;        // the words compare by `weights`, the pair's sort table
    unsigned char weights[256] = {};
};
// The comparator SetCollation would make current for the pair, the current one left as it
// is: a refused locale is the current one, and a short sort table keeps the current
// table's weights beyond its end.
Collation CollationOf(const WordListDescriptor& pair);
// AppendCollationKey under `collation`.
std::size_t AppendCollationKey(const Collation& collation, const char* word, std::string& keys);

// Who hears of a locale name the collation refuses.
enum class LocaleReport { Silent, NoOwner, MainWindow };

// Makes the pair's locale, language id and sort table current. A refused locale
// keeps the previous one.
void SetCollation(const WordListDescriptor& pair, LocaleReport report);
