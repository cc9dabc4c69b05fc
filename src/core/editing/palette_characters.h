// The characters the palette offers for a language.
#pragma once

#include <string>

// The first line of "charset\" + language + ".chs" (at most 254 characters, without its
// line break: CR, LF or CRLF), or the built-in Western letters when there is no such file.
std::string PaletteCharacters(const std::string& language);

// A character's button is this wide; the window is as wide as its columns.
constexpr int kPaletteButtonWidth = 19;
// Buttons per row (the first row takes the odd one) and the window's width.
int PaletteColumns(std::size_t characters);
int PaletteWidth(std::size_t characters);
