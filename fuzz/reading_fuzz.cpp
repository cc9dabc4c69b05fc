// Text loaded into the translate window (a file or the clipboard): a file's text in the
// pair's code page, and the word at the caret, cut out byte by byte. Input: the text.
#include <set>

#include "core/lookup/reading.h"
#include "core/text/utf8.h"
#include "fuzz_support.h"

namespace {

// Code-page text is kept byte for byte; each letter named as replaced is one whole
// character, named once, and stands as a "?".
void CheckFileText(std::string_view file) {
    const ReadingText reading = ReadingTextOf(file, 1252);
    const std::string detail = Shown(file) + "\nread: " + Shown(reading.text);
    if (reading.encoding == TextEncoding::CodePage) FUZZ_CHECK(reading.text == file, detail);
    FUZZ_CHECK(reading.replaced.size() <= kMaxNamedReplacements, detail);
    FUZZ_CHECK(reading.replacedCount >= reading.replaced.size(), detail);
    FUZZ_CHECK(reading.replacedCount == 0 || reading.text.find('?') != std::string::npos, detail);
    const std::set<std::string> distinct(reading.replaced.begin(), reading.replaced.end());
    FUZZ_CHECK(distinct.size() == reading.replaced.size(), detail);
    for (const std::string& letter : reading.replaced) {
        std::uint32_t code = 0;
        FUZZ_CHECK(DecodeUtf8(letter, 0, code) == letter.size(), detail + "\nreplaced: " + Shown(letter));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckFileText(text);
    // Every caret of a short text, a spread of them in a long one, and past its end.
    const std::size_t step = size <= 512 ? 1 : size / 509;
    for (std::size_t caret = 0; caret <= size + 1; caret += caret < size ? step : 1) {
        const std::string word = WordAt(text, caret);
        const std::string detail = "caret " + std::to_string(caret) + " in " + Shown(text) + "\nword: " + Shown(word);
        const bool onWord = caret < size && !IsWordSeparator(static_cast<unsigned char>(text[caret]));
        FUZZ_CHECK(word.empty() != onWord, detail);
        if (!onWord) continue;
        FUZZ_CHECK(word.size() <= kMaxLookedUpChars, detail);
        for (char c : word) FUZZ_CHECK(!IsWordSeparator(static_cast<unsigned char>(c)), detail);
        // The word starts at a word's start at or before the caret and runs to the caret at least,
        // unless cut to its first 99 bytes.
        std::size_t begin = caret;
        while (begin > 0 && !IsWordSeparator(static_cast<unsigned char>(text[begin - 1]))) --begin;
        FUZZ_CHECK(text.substr(begin, word.size()) == word, detail);
        FUZZ_CHECK(begin + word.size() > caret || word.size() == kMaxLookedUpChars, detail);
    }
    return 0;
}
