// KVTML, the vocabulary files of KDE's learning programs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/foreign_file.h"

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
// The entries in the format's encoding, as a document.
bool WriteKvtml(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second,
                std::string& document, std::string& error);
