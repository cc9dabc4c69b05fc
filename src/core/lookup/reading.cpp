#include "core/lookup/reading.h"

#include <cstdint>
#include <unordered_map>

#include "core/text/utf8.h"
#include "platform/text_convert.h"

namespace {

// Combining accents (U+0300 to U+036F) have lead byte 0xCC or 0xCD; text without them,
// most text, is composed already and needs no pass of its own.
bool HoldsCombiningAccents(std::string_view utf8) {
    for (std::size_t i = 0; i + 1 < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c == 0xCC || c == 0xCD) && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) return true;
    }
    return false;
}

// Converts UTF-8 to the code page one character at a time, asking the platform once for
// each different character: a text holds few of them, and a whole-text conversion could
// not say which characters were lost.
void ConvertToCodePage(std::string_view utf8, unsigned codePage, ReadingText& reading) {
    std::unordered_map<std::uint32_t, std::string> known;  // empty: the code page lacks it
    reading.text.reserve(utf8.size());
    std::string converted;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t code = 0;
        const std::size_t n = c < 0x80 ? 1 : DecodeUtf8(utf8, i, code);
        if (n <= 1) {
            reading.text += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::string_view character = utf8.substr(i, n);
        i += n;
        auto found = known.find(code);
        if (found == known.end()) {
            if (!platform::Utf8ToCodePage(character, codePage, converted) || converted.empty()) {
                converted.clear();
                if (reading.replaced.size() < kMaxNamedReplacements) reading.replaced.emplace_back(character);
                ++reading.replacedCount;
            }
            found = known.emplace(code, converted).first;
        }
        reading.text += found->second.empty() ? std::string_view("?") : std::string_view(found->second);
    }
}

}  // namespace

bool IsWordSeparator(unsigned char byte) {
    if (byte < 0x20) return true;
    if (byte <= 0x2F) return byte != '\'' && byte != '-';
    if (byte <= 0x40) return true;  // digits, : ; < = > ? @
    return byte >= 0x5B && byte <= 0x60;
}

std::vector<std::string> WordsOf(std::string_view text) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < text.size();) {
        if (IsWordSeparator(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        words.push_back(WordAt(text, i));
        while (i < text.size() && !IsWordSeparator(static_cast<unsigned char>(text[i]))) ++i;
    }
    return words;
}

std::string SingleWord(std::string_view text) {
    const auto separator = [&](std::size_t i) { return IsWordSeparator(static_cast<unsigned char>(text[i])); };
    std::size_t begin = 0;
    while (begin < text.size() && separator(begin)) ++begin;
    std::size_t end = begin;
    while (end < text.size() && !separator(end)) ++end;
    for (std::size_t i = end; i < text.size(); ++i)
        if (!separator(i)) return {};
    // A run longer than a looked-up word is not a word the text holds whole.
    if (end - begin > kMaxLookedUpChars) return {};
    return std::string(text.substr(begin, end - begin));
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

ReadingText ReadingTextOf(std::string_view file, unsigned codePage) {
    ReadingText reading;
    std::string decoded, composed;
    const FileText told = TellFileText(file, decoded);
    reading.encoding = told.encoding;
    if (told.encoding == TextEncoding::CodePage) {
        reading.text.assign(file);
        return reading;
    }
    std::string_view utf8 = told.text;
    if (HoldsCombiningAccents(utf8) && platform::ComposeUtf8(utf8, composed)) utf8 = composed;
    ConvertToCodePage(utf8, codePage, reading);
    return reading;
}
