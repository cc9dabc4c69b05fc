#include "core/text/utf8.h"

#include <bit>
#include <cstring>

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Runs of ASCII, the bulk of most files, eight bytes at a time; in a block that holds
        // more, the ASCII before its first other byte is passed at once (the lowest byte of
        // a little-endian load comes first).
        if (i + 8 <= text.size()) {
            std::uint64_t eight;
            std::memcpy(&eight, text.data() + i, 8);
            const std::uint64_t high = eight & 0x8080808080808080ull;
            if (high == 0) {
                i += 8;
                continue;
            }
            if constexpr (std::endian::native == std::endian::little)
                i += static_cast<std::size_t>(std::countr_zero(high)) / 8;
        }
        std::uint32_t code;
        const std::size_t n = DecodeUtf8(text, i, code);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::size_t DecodeUtf8(std::string_view text, std::size_t pos, std::uint32_t& code) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || pos + n > text.size()) return 0;
    code = n == 1 ? c : c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if (!IsContinuation(text[pos + k])) return 0;
        code = code << 6 | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    }
    return n;
}

std::size_t Utf8CharacterEnd(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < text.size() && IsContinuation(text[end])) ++end;
    return end;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
