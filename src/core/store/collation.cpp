#include "core/store/collation.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "core/catalogue/sort_table.h"
#include "core/strings/ui_strings.h"
#include "core/text/fixed_text.h"
#include "platform/message.h"
#include "platform/platform.h"

unsigned char SortTable[256];
std::uint16_t CollationLocale;
int CurrentLanguageCode;

// Language and country of each name as the Windows C runtime's setlocale knows it; Serbian
// is the Latin script of Serbia, which current Windows and Wine both know.
const CollationLocaleName kCollationLocales[53] = {
    {"czech", 0x0405},
    {"danish", 0x0406},
    {"belgian", 0x0813},
    {"dutch", 0x0413},
    {"australian", 0x0C09},
    {"canadian", 0x1009},
    {"english", 0x0409},
    {"english-nz", 0x1409},
    {"english-uk", 0x0809},
    {"english-usa", 0x0409},
    {"finnish", 0x040B},
    {"french-belgian", 0x080C},
    {"french-canadian", 0x0C0C},
    {"french", 0x040C},
    {"french-swiss", 0x100C},
    {"german-austrian", 0x0C07},
    {"german", 0x0407},
    {"german-swiss", 0x0807},
    {"greek", 0x0408},
    {"hungarian", 0x040E},
    {"icelandic", 0x040F},
    {"italian", 0x0410},
    {"italian-swiss", 0x0810},
    {"japanese", 0x0411},
    {"norwegian-bokmal", 0x0414},
    {"korean", 0x0412},
    {"chinese", 0x0804},
    {"chinese-simplified", 0x0804},
    {"chinese-traditional", 0x0404},
    {"norwegian", 0x0414},
    {"norwegian-nynorsk", 0x0814},
    {"polish", 0x0415},
    {"portuguese-brazilian", 0x0416},
    {"portuguese", 0x0816},
    {"russian", 0x0419},
    {"slovak", 0x041B},
    {"spanish", 0x040A},
    {"spanish-mexican", 0x080A},
    {"spanish-modern", 0x0C0A},
    {"swedish", 0x041D},
    {"turkish", 0x041F},
    {"lithuanian", 0x0427},
    {"indonesian", 0x0421},
    {"albanian", 0x041C},
    {"bulgarian", 0x0402},
    {"arabic", 0x0401},
    {"catalan", 0x0403},
    {"croatian", 0x041A},
    {"hebrew", 0x040D},
    {"romanian", 0x0418},
    {"serbian", 0x241A},
    {"thai", 0x041E},
    {"urdu", 0x0420},
};

namespace {

constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;  // the low ten bits of a Windows language id

struct LanguageCode {
    const char* name;
    int code;
};

const LanguageCode kLanguageCodes[] = {
    {"AFRIKAANS", 0x36},  {"ALBANIAN", 0x1c},  {"ARABIC", 0x01},     {"ARMENIAN", 0x2b},  {"ASSAMESE", 0x4d},
    {"AZERI", 0x2c},      {"BASQUE", 0x2d},    {"BELARUSIAN", 0x23}, {"BENGALI", 0x45},   {"BULGARIAN", 0x02},
    {"CATALAN", 0x03},    {"CHINESE", 0x04},   {"CROATIAN", 0x1a},   {"CZECH", 0x05},     {"DANISH", 0x06},
    {"DUTCH", 0x13},      {"ENGLISH", 0x09},   {"ESTONIAN", 0x25},   {"FAEROESE", 0x38},  {"FARSI", 0x29},
    {"FINNISH", 0x0b},    {"FRENCH", 0x0c},    {"GEORGIAN", 0x37},   {"GERMAN", 0x07},    {"GREEK", 0x08},
    {"GUJARATI", 0x47},   {"HEBREW", 0x0d},    {"HINDI", 0x39},      {"HUNGARIAN", 0x0e}, {"ICELANDIC", 0x0f},
    {"INDONESIAN", 0x21}, {"ITALIAN", 0x10},   {"JAPANESE", 0x11},   {"KANNADA", 0x4b},   {"KASHMIRI", 0x60},
    {"KAZAK", 0x3f},      {"KONKANI", 0x57},   {"KOREAN", 0x12},     {"LATVIAN", 0x26},   {"LITHUANIAN", 0x27},
    {"MACEDONIAN", 0x2f}, {"MALAY", 0x3e},     {"MALAYALAM", 0x4c},  {"MANIPURI", 0x58},  {"MARATHI", 0x4e},
    {"NEPALI", 0x61},     {"NORWEGIAN", 0x14}, {"ORIYA", 0x48},      {"POLISH", 0x15},    {"PORTUGUESE", 0x16},
    {"PUNJABI", 0x46},    {"ROMANIAN", 0x18},  {"RUSSIAN", 0x19},    {"SANSKRIT", 0x4f},  {"SERBIAN", 0x1a},
    {"SINDHI", 0x59},     {"SLOVAK", 0x1b},    {"SLOVENIAN", 0x24},  {"SPANISH", 0x0a},   {"SWAHILI", 0x41},
    {"SWEDISH", 0x1d},    {"TAMIL", 0x49},     {"TATAR", 0x44},      {"TELUGU", 0x4a},    {"THAI", 0x1e},
    {"TURKISH", 0x1f},    {"UKRAINIAN", 0x22}, {"URDU", 0x20},       {"UZBEK", 0x43},     {"VIETNAMESE", 0x2a},
};
static_assert(std::size(kLanguageCodes) == 70, "the language table has 70 rows");

// The next byte of a text that takes part in the order under the sort table: its
// weight, or 0 at the end (the terminator or a weight of 0).
unsigned char NextWeight(const unsigned char*& p, const unsigned char* weights = SortTable) {
    while (*p != 0) {
        unsigned char w = weights[*p++];
        if (w != 1) return w;
    }
    return 0;
}

unsigned char FoldedByte(unsigned char c) { return static_cast<unsigned char>(FoldAscii(static_cast<char>(c))); }

}  // namespace

std::uint16_t CollationLocaleOf(const char* name) {
    for (const CollationLocaleName& locale : kCollationLocales)
        if (EqualsIgnoringAsciiCase(name, locale.name)) return locale.langId;
    return 0;
}

namespace {

// Reads the pair's sort table over `weights`: a shorter file replaces only the entries it
// has, and the rest keep their weights.
void ReadSortTable(const WordListDescriptor& pair, unsigned char (&weights)[256]) {
    std::string path = SortTablePath(pair.name1);
    FILE* file = path.empty() ? nullptr : platform::OpenFile(path, "rb");
    if (!file) {
        ShowUserMessage({"Can't open sorttable   ", "error", MessageOwner::None, MessageIcon::None});
        return;
    }
    std::size_t got = std::fread(weights, 1, sizeof weights, file);
    (void)got;
    std::fclose(file);
}

// The key of a word under a locale and, when `weights` is not null, a sort table.
std::size_t AppendKey(std::uint16_t locale, const unsigned char* weights, const char* word, std::string& keys) {
    if (locale != 0 && !weights) return platform::AppendSortKey(locale, word, keys);
    // Both other keys are at most one byte per character and a terminator.
    const std::size_t start = keys.size();
    keys.resize(start + std::strlen(word) + 1);
    char* out = keys.data() + start;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(word);
    if (weights) {
        while (unsigned char w = NextWeight(p, weights)) *out++ = static_cast<char>(w);
    } else {
        for (; *p != 0; ++p) *out++ = static_cast<char>(FoldedByte(*p));
    }
    *out++ = '\0';
    keys.resize(static_cast<std::size_t>(out - keys.data()));
    return keys.size() - start;
}

}  // namespace

void LoadSortTable() {
    if (CurrentPair && CurrentPair->hasSortTable) ReadSortTable(*CurrentPair, SortTable);
}

// A name of the table, or else one of the locale names a language can be given (such as
// "english-uk"), whose locale's primary language it then is; only a name known to neither
// is reported.
int LanguageCodeOf(const char* localeName) {
    for (const LanguageCode& language : kLanguageCodes)
        if (EqualsIgnoringAsciiCase(localeName, language.name)) return language.code;
    if (const std::uint16_t langId = CollationLocaleOf(localeName)) return langId & kPrimaryLanguageMask;
    char text[160];
    std::snprintf(text, sizeof text, "Unknown locale : %s", localeName);
    ShowUserMessage({text, "error", MessageOwner::None, MessageIcon::None});
    return 0;
}

int CollateCompare(const char* a, const char* b) {
    if (CollationLocale != 0) return platform::LocaleCompare(CollationLocale, a, b);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (;; ++p, ++q) {
        int d = FoldedByte(*p) - FoldedByte(*q);
        if (d != 0 || *p == 0) return d;
    }
}

int TableCompare(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    for (;;) {
        unsigned char wa = NextWeight(p);
        unsigned char wb = NextWeight(q);
        if (wa != wb || wa == 0) return wa - wb;
    }
}

int CompareWords(const char* a, const char* b) {
    return CurrentPair && CurrentPair->hasSortTable ? TableCompare(a, b) : CollateCompare(a, b);
}

std::size_t AppendCollationKey(const char* word, std::string& keys) {
    return AppendKey(CollationLocale, CurrentPair && CurrentPair->hasSortTable ? SortTable : nullptr, word, keys);
}

std::size_t AppendCollationKey(const Collation& collation, const char* word, std::string& keys) {
    return AppendKey(collation.locale, collation.table ? collation.weights : nullptr, word, keys);
}

Collation CollationOf(const WordListDescriptor& pair) {
    Collation collation;
    const std::uint16_t langId = CollationLocaleOf(pair.locale);
    collation.locale = langId ? langId : CollationLocale;
    collation.table = pair.hasSortTable != 0;
    std::memcpy(collation.weights, SortTable, sizeof SortTable);
    if (collation.table) ReadSortTable(pair, collation.weights);
    return collation;
}

void SetCollation(const WordListDescriptor& pair, LocaleReport report) {
    if (std::uint16_t langId = CollationLocaleOf(pair.locale)) {
        CollationLocale = langId;
    } else if (report != LocaleReport::Silent) {
        ShowWarning(Ui(UiKey::ErrorLocale), Ui(UiKey::Dictionary),
                    report == LocaleReport::MainWindow ? MessageOwner::MainWindow : MessageOwner::None);
    }
    CurrentLanguageCode = LanguageCodeOf(pair.locale);
    LoadSortTable();
}
