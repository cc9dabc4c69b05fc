// FreeDict, dictd's dictionaries: an index of headwords, offsets and lengths, and the
// definitions' text, dictzip-compressed or not.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/foreign_file.h"
#include "core/exchange/format_table.h"

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

// The entries as a dictionary of UTF-8 text: its index, and its text uncompressed.
void WriteFreeDict(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second,
                   std::string& index, std::string& dict);
