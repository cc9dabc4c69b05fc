// Filling the current practice list with words drawn at random from the whole word file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// How many words the user asked for: the leading decimal number of at most the first 9
// characters (leading blanks and a sign allowed), 0 without digits.
int DrawCountOf(const std::string& typed);

// A number the user may ask for: at least 1 and at most the word file's records.
bool DrawCountAllowed(int count);

// Uniform values 0 to 2^30 - 1; the program's draws come from the standard generator seeded
// at start-up, two of its 15-bit values at a time, so that every record of a large file can
// be drawn.
using DrawSource = std::function<std::uint32_t()>;
std::uint32_t StandardDraw();

// Appends `count` independent draws of the current word file's records to the current list
// (emptied first when asked); a record marked deleted is never drawn. Each draw reads a few
// records, whatever the file's size. The number of records appended.
int DrawRandomWords(int count, bool emptyFirst, const DrawSource& draw = StandardDraw);
