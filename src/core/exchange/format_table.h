// The files other programs keep vocabulary in, one row a format: the name the wordlist
// command takes, the extensions its files have, its encoding, and its type in the open
// and save dialogs. The command and the File menu both read the formats from here.
#pragma once

#include <cstddef>
#include <initializer_list>
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

// In the order of the save dialog's types, whose index picks the format.
extern const ExchangeFormatInfo kExchangeFormats[5];

const ExchangeFormatInfo& FormatInfo(ExchangeFormat format);
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
