// Small helpers for the program's single-byte texts in fixed buffers.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Copies text into a buffer, cut to fit, always terminated.
template <std::size_t N>
void CopyText(char (&buffer)[N], std::string_view text) {
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

inline char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Equality that ignores the case of the letters A-Z only.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

// The first n characters of a and b compared like strnicmp: a shorter text ends the comparison.
inline bool PrefixEqualsIgnoringAsciiCase(std::string_view a, std::string_view b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        char ca = i < a.size() ? a[i] : '\0';
        char cb = i < b.size() ? b[i] : '\0';
        if (FoldAscii(ca) != FoldAscii(cb)) return false;
        if (ca == '\0') return true;
    }
    return true;
}

// The leading decimal digits of a text as a number; 0 when there are none.
inline int LeadingNumber(std::string_view text) {
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || n > 100000000) break;
        n = n * 10 + (c - '0');
    }
    return n;
}
