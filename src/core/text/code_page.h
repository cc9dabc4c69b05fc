// The Windows code page of a font character set: the bytes of a pair's words are text in
// the code page of the language's character set.
#pragma once

#include <string_view>

// 1252 for the ANSI set and for any set without a code page of its own.
unsigned CodePageOfCharset(int charset);
// Whether the code page spells some characters with two bytes (the East Asian ones of the
// character sets); the others spell each with one.
bool IsDoubleByteCodePage(unsigned codePage);

// The name Windows gives a character set's letters ("Cyrillic"); empty for one it does not name.
const char* CharsetName(int charset);
// The most used character set whose code page holds every letter of the UTF-8 text; -1
// when none does.
int CharsetHolding(std::string_view utf8);
