// Small pieces the readers of the exchange formats share.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "core/text/utf8.h"

// Text without the UTF-8 byte-order mark that starts it, if it has one.
inline std::string_view WithoutBom(std::string_view text) {
    return text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? text.substr(kUtf8Bom.size()) : text;
}

// Whether `text` holds `c`: a loop rather than find, as the C runtime's memchr is a call, and
// under Wine a slow one, on the import's hot paths.
inline bool Holds(std::string_view text, char c) {
    return std::any_of(text.begin(), text.end(), [c](char b) { return b == c; });
}

// "line N: ", which starts a message about a line of the file.
inline std::string Where(int line) { return "line " + std::to_string(line) + ": "; }
