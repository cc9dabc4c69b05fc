#include "core/lookup/reading.h"

bool IsWordSeparator(unsigned char byte) {
    if (byte < 0x20) return true;
    if (byte <= 0x2F) return byte != '\'' && byte != '-';
    if (byte <= 0x40) return true;  // digits, : ; < = > ? @
    return byte >= 0x5B && byte <= 0x60;
}

// The byte at the caret is looked at first, so a caret right after a word's last letter
// (on the separator that follows it) finds nothing.
std::string WordAt(std::string_view text, std::size_t caret) {
    if (caret >= text.size()) return std::string();
    const auto separator = [&](std::size_t i) { return IsWordSeparator(static_cast<unsigned char>(text[i])); };
    if (separator(caret)) return std::string();
    std::size_t begin = caret;
    while (begin > 0 && !separator(begin - 1)) --begin;
    std::size_t end = caret;
    while (end < text.size() && !separator(end)) ++end;
    return std::string(text.substr(begin, std::min(end - begin, kMaxLookedUpChars)));
}
