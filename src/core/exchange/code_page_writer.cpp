#include "core/exchange/code_page_writer.h"

#include <algorithm>

#include "core/text/code_page.h"
#include "core/text/utf8.h"
#include "platform/text_convert.h"

CodePageWriter::CodePageWriter(unsigned codePage) : codePage_(codePage), singleByte_(!IsDoubleByteCodePage(codePage)) {
    std::string utf8;
    for (int b = 0x80; b <= 0xFF && singleByte_; ++b) {
        const char byte = static_cast<char>(b);
        std::uint32_t code = 0;
        if (platform::CodePageToUtf8(std::string_view(&byte, 1), codePage, utf8) && !utf8.empty() &&
            DecodeUtf8(utf8, 0, code) == utf8.size() && code >= 0x80)
            bytes_.emplace_back(code, byte);
    }
    std::sort(bytes_.begin(), bytes_.end());
}

bool CodePageWriter::Convert(const std::string& utf8, std::string& out) const {
    if (!singleByte_) return platform::Utf8ToCodePage(utf8, codePage_, out);
    out.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::size_t n = Utf8CharacterEnd(utf8, i) - i;
        std::uint32_t code = 0;
        if (DecodeUtf8(std::string_view(utf8).substr(i, n), 0, code) != n) return false;
        const auto found = std::lower_bound(bytes_.begin(), bytes_.end(), std::make_pair(code, '\0'),
                                            [](const auto& a, const auto& b) { return a.first < b.first; });
        if (found == bytes_.end() || found->first != code) return false;
        out += found->second;
        i += n;
    }
    return true;
}
