// UTF-8, as the exchange formats carry text: each character a lead byte that tells its
// length and continuation bytes (10xxxxxx). Overlong forms and surrogates are not refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The byte-order mark that tells a file's text is UTF-8.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Whether every byte belongs to a whole character.
bool ValidUtf8(std::string_view text);

// The length of the whole character at `pos`, its code in `code`; 0 when the bytes there
// are no whole character.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, std::uint32_t& code);

// Where the character at `pos` ends: after its first byte and the continuation bytes that
// follow, whether or not they make a whole character.
std::size_t Utf8CharacterEnd(std::string_view text, std::size_t pos);

void AppendUtf8(std::string& out, std::uint32_t code);
