// The files other programs keep vocabulary in, one row a format: the name the wordlist
// command takes, the extensions its files have, its encoding, and its type in the open
// and save dialogs. The command and the File menu both read the formats from here.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

enum class ExchangeFormat { Tsv, Csv, Anki, Kvtml, FreeDict };

struct ExchangeFormatInfo {
    ExchangeFormat format;
    const char* name;
    // The extensions a file of the format is read from; an export writes the first. Null
    // ends a list that is shorter.
    const char* extensions[2];
    bool utf8;  // UTF-8 by definition, rather than the pair's code page
    // The dialogs' description of the type: an interface text's key, and its English.
    const char* typeKey;
    const char* typeText;
};

// In the order of the save dialog's types, whose index picks the format, and of the enum.
inline constexpr ExchangeFormatInfo kExchangeFormats[] = {
    {ExchangeFormat::Tsv, "tsv", {"tsv", "txt"}, false, "ExportFilterTsv", "Tab-separated text"},
    {ExchangeFormat::Csv, "csv", {"csv", nullptr}, false, "ExportFilterCsv", "Comma-separated text"},
    {ExchangeFormat::Anki, "anki", {"txt", nullptr}, true, "ExportFilterAnki", "Anki text export"},
    {ExchangeFormat::Kvtml, "kvtml", {"kvtml", nullptr}, true, "ExportFilterKvtml", "KVTML vocabulary"},
    {ExchangeFormat::FreeDict, "freedict", {"index", nullptr}, true, "ExportFilterFreeDict", "FreeDict dictionary"},
};
// FormatInfo finds a format's row by its value.
static_assert([] {
    for (std::size_t i = 0; i < std::size(kExchangeFormats); ++i)
        if (static_cast<std::size_t>(kExchangeFormats[i].format) != i) return false;
    return true;
}());

inline const ExchangeFormatInfo& FormatInfo(ExchangeFormat format) {
    return kExchangeFormats[static_cast<std::size_t>(format)];
}

// "tsv", "csv", "anki", "kvtml", "freedict".
const char* FormatName(ExchangeFormat format);
std::optional<ExchangeFormat> FormatNamed(std::string_view name);
// "tsv, csv, anki, kvtml or freedict", for the command's messages.
std::string FormatNameList();
// The first format read from files with this extension (A-Z in either case); none for
// an extension no format has.
std::optional<ExchangeFormat> FormatWithExtension(std::string_view extension);
bool FormatIsUtf8(ExchangeFormat format);
// "*.tsv;*.txt;*.csv": every extension the formats are read from, each once, as a file
// dialog's pattern.
std::string ReadPattern(std::initializer_list<ExchangeFormat> formats);
// "*.tsv": the extension an export in the format writes.
std::string WritePattern(ExchangeFormat format);

// The format a file's name gives; `head` (the file's first bytes) tells the flashcard
// program's text from plain text. None for a name without a known extension.
std::optional<ExchangeFormat> FormatOfFile(std::string_view path, std::string_view head);

// The most text an import takes from one file, compressed or not: beyond it a file is
// more likely a mistake or an attack than a dictionary, and its entries would not fit in
// memory anyway.
constexpr std::size_t kMaxImportText = std::size_t{1} << 30;
// "1 GB", "64 MB", "512 KB" or "300 bytes", for messages about sizes.
std::string SizeName(std::size_t bytes);
