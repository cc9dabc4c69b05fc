// The catalogue of language pairs, built from the catalogue file: every language line
// gives a forward pair (that language into the main language) and its reverse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// What the catalogue reads of a line; a longer line is cut, never split.
constexpr std::size_t kCatalogueLineChars = 99;

struct WordListDescriptor {
    WordListDescriptor* next;
    std::int32_t menuId;
    std::int32_t hasSortTable;
    std::int32_t charset1;
    std::int32_t charset2;
    std::int16_t selected;
    char name1[100];
    char name2[100];
    char wordFileShort[13];
    char listFileShort[13];
    char icon1Short[13];
    char icon2Short[13];
    char locale[21];  // one more than 20, so "portuguese-brazilian" fits whole
    char wordFileLong[205];
    char listFileLong[205];
    char icon1Long[100];
    char icon2Long[100];
    char longName[100];
};

// First descriptor of the catalogue (forward pairs, then reverse pairs), or none.
extern WordListDescriptor* CatalogueHead;
extern WordListDescriptor* CurrentPair;

// Reads the language section of the catalogue file; CurrentPair becomes the first
// reverse pair. 0, or -1 when the file cannot be read or lists no language (the pairs
// read before then stay).
int BuildCatalogue();
// Reads the selection section and makes the named pair current. 0, or -1 on a read error.
int ReadSelectedPair();
enum class CatalogueWrite { Done, NoCatalogue, NoTemporary };
// Adds a language line where the language section ends (before the empty or comment line
// that ends it, or at the end of the file), every other byte of the file as it was.
CatalogueWrite AddLanguageLine(const std::string& languageLine);
// Writes `pair` as the selected pair into the catalogue file, every other byte as it
// was. 0, or -1 when the file could not be rewritten (it is then as it was).
int SaveSelection(const WordListDescriptor& pair);

// A pair's files by the rule: its long names when it has a long name, else its short ones.
const char* WordFileName(const WordListDescriptor& pair);
const char* ListFileName(const WordListDescriptor& pair);
const char* Icon1Name(const WordListDescriptor& pair);
const char* Icon2Name(const WordListDescriptor& pair);
// The long-name rule: the word file of `first` into `second` ("first_second.gk") and a
// language's icon ("name.ico"). Every file of a language with a long name is named so.
std::string LongWordFileName(const std::string& first, const std::string& second);
std::string LongIconName(const std::string& language);
// PathLanguage + the pair's word file; none when the path would be too long.
std::optional<std::string> WordFilePath(const WordListDescriptor& pair);

// The first pair whose languages are those of `pair` the other way round, or none.
WordListDescriptor* ReversePair(const WordListDescriptor& pair);

int PairCount();
WordListDescriptor* PairAt(int position);
// The pair whose language-menu command is `id`, or none.
WordListDescriptor* PairOfMenuId(int id);
// A language's name as the catalogue holds it, in UTF-8. The names are text in the
// interface's code page (that of its strings' character set), as the menus show them.
std::string LanguageNameUtf8(const char* name);
int PairPosition(const WordListDescriptor* pair);
