// Text between UTF-8, which other programs exchange, and the Windows code pages the
// word files are stored in.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The code page number of UTF-8.
inline constexpr unsigned kUtf8CodePage = 65001;

// How ToWide and FromWide treat what the other side has no form for.
enum class Conversion {
    // Bytes that are no text in the code page fail the call, and so does a character the
    // code page has no byte for (nothing is replaced by a look-alike).
    Exact,
    // Such bytes become U+FFFD, such characters a look-alike or the code page's default
    // character: for showing text, where something is better than nothing.
    Lenient,
};

// Code-page text to UTF-16 (Windows) or the platform's wide characters; false, and no text,
// when it does not convert.
bool ToWide(std::string_view text, unsigned codePage, Conversion conversion, std::wstring& wide);
// Wide text to the code page; false, and no text, when it does not convert. Every character
// has a UTF-8 form, so to UTF-8 both conversions are the same.
bool FromWide(std::wstring_view wide, unsigned codePage, Conversion conversion, std::string& out);

// Converts UTF-8 to the code page; false when the text is not UTF-8 or holds a character
// the code page has no byte for (nothing is replaced by a look-alike).
bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string& out);
// Converts code-page text to UTF-8; false when the code page is unknown.
bool CodePageToUtf8(std::string_view text, unsigned codePage, std::string& out);
// UTF-8 in Unicode's composed form (NFC): a letter followed by combining accents becomes
// the one accented letter a code page has a byte for. False when the text is not UTF-8.
bool ComposeUtf8(std::string_view utf8, std::string& out);

}  // namespace platform
