// Text between UTF-8, which other programs exchange, and the Windows code pages the
// word files are stored in.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Converts UTF-8 to the code page; false when the text is not UTF-8 or holds a character
// the code page has no byte for (nothing is replaced by a look-alike).
bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string& out);
// Converts code-page text to UTF-8; false when the code page is unknown.
bool CodePageToUtf8(std::string_view text, unsigned codePage, std::string& out);
// UTF-8 in Unicode's composed form (NFC): a letter followed by combining accents becomes
// the one accented letter a code page has a byte for. False when the text is not UTF-8.
bool ComposeUtf8(std::string_view utf8, std::string& out);

}  // namespace platform
