// The files other programs keep vocabulary in, read into entries and written from them:
// plain text with a tab or a comma between word and translation, the flashcard program's
// text export, KVTML 2 and FreeDict's dictd files.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/format_table.h"

// The format a file's name gives; `head` (the file's first bytes) tells the flashcard
// program's text from plain text. None for a name without a known extension.
std::optional<ExchangeFormat> FormatOfFile(std::string_view path, std::string_view head);

// One word and its translation as the file gives them, with the line they start on.
struct ForeignEntry {
    int line = 0;
    std::string word;
    std::string translation;
    std::string refused;  // why the entry cannot be taken, when the file itself is sound
};

struct ForeignFile {
    std::vector<ForeignEntry> entries;
    bool utf8 = true;       // the text is UTF-8; otherwise it is in the pair's code page
    std::string encoding;   // how the text was told, for the report; empty when the format says
    std::string languages;  // what the file said of its languages, for the report
    char separator = 0;     // of a separated file: the one its fields were split at
};

// Each reader takes the whole file and fails with a message naming the line when the file
// is damaged; nothing read is then used.
// Separated text: `separator` 0 takes the one a first line "sep=;" names (as spreadsheets
// write it), else the one DetectSeparator finds, `preferred` on a tie; a given one is used
// as it is.
bool ReadDelimited(std::string_view text, char separator, ForeignFile& file, std::string& error, char preferred = '\t');
// Of tab, semicolon and comma, the one that separates the file's first lines most
// regularly; `preferred` when none is found or it does as well as the best.
char DetectSeparator(std::string_view text, char preferred);
// "tab", "semicolon", "comma" (or the character itself), and back; 0 for an unknown name.
char SeparatorNamed(std::string_view name);
std::string SeparatorName(char separator);
bool ReadAnki(std::string_view text, ForeignFile& file, std::string& error);
// A language of a KVTML file: its identifier's id, name and locale as the file gives them.
struct KvtmlLanguage {
    std::string id, name, locale;
};
// The languages a KVTML file names, in the file's order; false when the file is damaged or
// names fewer than two.
bool ReadKvtmlLanguages(std::string_view text, std::vector<KvtmlLanguage>& languages, std::string& error);
// The position of the language `wanted` stands for, passing over `other`: the one with that
// id, else the first with that name or locale, the letters A-Z in either case being the
// same. -1 when there is none or `wanted` is empty.
int FindKvtmlLanguage(const std::vector<KvtmlLanguage>& languages, std::string_view wanted, int other = -1);
// The languages two names stand for, as positions (-1: none). The user should choose when
// the file has more than two or either name stands for none.
struct KvtmlMatch {
    int first = -1, second = -1;
    bool choose = true;
};
KvtmlMatch MatchKvtmlLanguages(const std::vector<KvtmlLanguage>& languages, std::string_view first,
                               std::string_view second);
// "0 (English, en), 1 (German, de)", for messages.
std::string ListKvtmlLanguages(const std::vector<KvtmlLanguage>& languages);
// The two languages are the ones `first` and `second` stand for (FindKvtmlLanguage); a
// name that stands for none is refused with the languages the file has, rather than
// guessed.
bool ReadKvtml(std::string_view text, const std::string& first, const std::string& second, ForeignFile& file,
               std::string& error);
// Takes a file's entries one at a time, as a reader finds them, so that none need be kept.
class EntrySink {
public:
    virtual void Expect(std::size_t count) = 0;  // at most this many entries follow
    virtual void Take(const ForeignEntry& entry) = 0;

protected:
    ~EntrySink() = default;
};

// A dictionary's text as the reader of its entries needs it: whole, or while it is still
// being unpacked.
class DictionaryText {
public:
    // At least the text's first `end` bytes, or the whole text when it is shorter; none with
    // a message when the text cannot be had. The view holds until the next call.
    virtual std::optional<std::string_view> Upto(std::size_t end, std::string& error) = 0;

protected:
    ~DictionaryText() = default;
};

// `dict` is the dictionary's text, decompressed.
bool ReadFreeDict(std::string_view index, std::string_view dict, ForeignFile& file, std::string& error);
// The same, each entry handed to `sink` as it is read, while `file.entries` stays empty.
// On failure the entries handed over so far are not to be used. A text that cannot be had
// is the failure told, before anything wrong with the index.
bool ReadFreeDict(std::string_view index, DictionaryText& dict, ForeignFile& file, std::string& error, EntrySink& sink);

// The text of an HTML field: tags dropped, line breaks and blocks as new lines, entities
// decoded.
std::string HtmlToText(std::string_view html);
// The most text an import takes from one file, compressed or not: beyond it a file is
// more likely a mistake or an attack than a dictionary, and its entries would not fit in
// memory anyway.
constexpr std::size_t kMaxImportText = std::size_t{1} << 30;
// "1 GB", "64 MB", "512 KB" or "300 bytes", for messages about sizes.
std::string SizeName(std::size_t bytes);
// Text in room allocated once and never cleared first: a dictionary's 80 MB would otherwise
// be written twice, as zeros and then as text.
struct UnpackedText {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::string_view View() const { return {bytes.get(), size}; }
};
// Decompresses a gzip (dictzip) file's bytes; a file that is not compressed is returned as
// is. Fails when the text would be longer than `limit`; the text is then empty.
bool Gunzip(std::string_view bytes, UnpackedText& text, std::string& error, std::size_t limit = kMaxImportText);
// The room to unpack gzip bytes into first, or none for bytes that are not gzip: the size
// the trailer tells (modulo 4 GB) and one byte more, so that a text of that size ends inside
// it. A bomb's trailer may say anything, so neither it nor a ratio beyond what text packs
// to passes the limit.
std::optional<std::size_t> GzipFirstRoom(std::string_view bytes, std::size_t limit);
bool Gunzip(std::string_view bytes, std::string& text, std::string& error, std::size_t limit = kMaxImportText);

// Writers, from entries in the format's encoding. Lines end in CRLF.
std::string WriteDelimited(const std::vector<ForeignEntry>& entries, char separator);
std::string WriteAnki(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second);
bool WriteKvtml(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second,
                std::string& document, std::string& error);
void WriteFreeDict(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second,
                   std::string& index, std::string& dict);
