// The plain-text files of other programs: a tab, comma or semicolon between word and
// translation, and the flashcard program's text export.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/foreign_file.h"

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
// The text of an HTML field: tags dropped, line breaks and blocks as new lines, entities
// decoded.
std::string HtmlToText(std::string_view html);
// Writers, from entries in the format's encoding. Lines end in CRLF.
std::string WriteDelimited(const std::vector<ForeignEntry>& entries, char separator);
std::string WriteAnki(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second);
