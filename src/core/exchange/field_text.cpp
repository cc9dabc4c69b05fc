#include "core/exchange/field_text.h"

#include <algorithm>

#include "core/text/utf8.h"
#include "platform/text_convert.h"

namespace {

// A report quotes this much of a field: enough to find the line, while a line of 200 MB
// would otherwise make a report, and a confirmation box, of 200 MB.
constexpr std::size_t kQuotedChars = 80;

}  // namespace

void AppendQuoted(std::string& out, std::string_view text, bool utf8) {
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size() && chars < kQuotedChars; ++chars) {
        end = utf8 ? Utf8CharacterEnd(text, end) : end + 1;
    }
    out += '"';
    out.append(text.substr(0, end));
    out.append(end < text.size() ? "...\"" : "\"");
}

std::string Quoted(std::string_view text, bool utf8) {
    std::string out;
    AppendQuoted(out, text, utf8);
    return out;
}

void StoredFieldText(std::string_view text, bool translation, std::string& out) {
    // Written through a pointer into room for the whole field: a call per character was a
    // good part of a dictionary's import.
    out.resize(text.size());
    char* const begin = out.data();
    char* end = begin;
    for (char c : text) {
        if (translation && (c == '\n' || c == '\r')) c = ',';
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
        if (c == ' ' && (end == begin || end[-1] == ' ')) continue;
        *end++ = c;
    }
    if (end != begin && end[-1] == ' ') --end;
    out.resize(static_cast<std::size_t>(end - begin));
}

const std::string& CodePageSpelling(const std::string& text, std::string& spelt) {
    auto holds = [&](unsigned char lead) {
        return std::any_of(text.begin(), text.end(), [&](char c) { return static_cast<unsigned char>(c) >= lead; });
    };
    if (!holds(0xC4)) return text;
    // Combining accents start at U+0300: text without them is composed already.
    std::string composed;
    const std::string& from = holds(0xCC) && platform::ComposeUtf8(text, composed) ? composed : text;
    spelt.clear();
    for (std::size_t i = 0; i < from.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(from[i]);
        const unsigned char next = i + 1 < from.size() ? static_cast<unsigned char>(from[i + 1]) : 0;
        const unsigned char last = i + 2 < from.size() ? static_cast<unsigned char>(from[i + 2]) : 0;
        if (c == 0xC4 && (next == 0xB2 || next == 0xB3)) {  // U+0132, U+0133
            spelt += next == 0xB2 ? "IJ" : "ij";
            ++i;
        } else if (c == 0xE2 && ((next == 0x80 && last >= 0x90 && last <= 0x95) || (next == 0x88 && last == 0x92))) {
            spelt += '-';
            i += 2;
        } else {
            spelt += static_cast<char>(c);
        }
    }
    return spelt;
}

std::string MissingCharacter(std::string_view utf8, unsigned codePage) {
    std::string converted;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = Utf8CharacterEnd(utf8, i) - i;
        if (!platform::Utf8ToCodePage(utf8.substr(i, n), codePage, converted)) return std::string(utf8.substr(i, n));
        i += n;
    }
    return std::string();
}

bool ToUtf8(const char* text, unsigned codePage, std::string& out) {
    const std::string_view view(text);
    if (std::all_of(view.begin(), view.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out = view;
        return true;
    }
    return platform::CodePageToUtf8(view, codePage, out);
}

void ProblemText::Append(std::string_view word, Shown) {
    StoredFieldText(word, false, quoted_);
    AppendQuoted(message_, quoted_, utf8_);
}

void ProblemText::Append(std::string_view, ShownPiece shown) {
    const std::string_view piece = shown.piece;
    if (utf8_ &&
        std::any_of(piece.begin(), piece.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
        platform::CodePageToUtf8(piece, translationPage_, quoted_)) {
        AppendQuoted(message_, quoted_, true);
        return;
    }
    AppendQuoted(message_, piece, utf8_);
}
