#include "core/text/text_encoding.h"

#include <algorithm>
#include <cstdint>

#include "core/text/utf8.h"
#include "platform/lines.h"

FileText TellFileText(std::string_view bytes, std::string& decoded) {
    FileText file{TextEncoding::CodePage, bytes};
    const bool utf16 = FromUtf16(bytes, decoded);
    if (utf16) file.text = decoded;
    const bool marked = file.text.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    if (marked) file.text.remove_prefix(kUtf8Bom.size());
    if (utf16)
        file.encoding = TextEncoding::Utf16;
    else if (marked)
        file.encoding = TextEncoding::MarkedUtf8;
    else if (MostlyUtf8(file.text))
        file.encoding = TextEncoding::Utf8;
    return file;
}

bool FromUtf16(std::string_view text, std::string& utf8) {
    if (text.size() < 2) return false;
    const unsigned char b0 = static_cast<unsigned char>(text[0]), b1 = static_cast<unsigned char>(text[1]);
    const bool little = b0 == 0xFF && b1 == 0xFE;
    if (!little && !(b0 == 0xFE && b1 == 0xFF)) return false;
    utf8.clear();
    utf8.reserve(text.size());
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const unsigned char lo = static_cast<unsigned char>(text[i + (little ? 0 : 1)]);
        const unsigned char hi = static_cast<unsigned char>(text[i + (little ? 1 : 0)]);
        return static_cast<std::uint32_t>(hi) << 8 | lo;
    };
    std::size_t i = 2;
    for (; i + 1 < text.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < text.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(utf8, code);
    }
    if (i < text.size()) AppendUtf8(utf8, 0xFFFD);
    return true;
}

bool HasNonAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool MostlyUtf8(std::string_view text) {
    std::size_t utf8Lines = 0, otherLines = 0;
    for (const TextLine& line : SplitLines(text, LineBreaks::LineFeed)) {
        if (!HasNonAscii(line.text)) continue;
        ++(ValidUtf8(line.text) ? utf8Lines : otherLines);
    }
    return 3 * utf8Lines >= 2 * otherLines;
}
