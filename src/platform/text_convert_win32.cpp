#include "platform/text_convert.h"

#include <windows.h>

#include <string>

namespace platform {

namespace {

bool ToWide(std::string_view text, UINT codePage, DWORD flags, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (n <= 0) return false;
    wide.resize(static_cast<std::size_t>(n));
    return MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n) == n;
}

bool FromWide(const std::wstring& wide, UINT codePage, std::string& out) {
    out.clear();
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    // UTF-8 takes no default-character arguments.
    const bool utf8 = codePage == CP_UTF8;
    BOOL usedDefault = FALSE;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int n =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, utf8 ? nullptr : &usedDefault);
    if (n <= 0 || usedDefault) return false;
    out.resize(static_cast<std::size_t>(n));
    return WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr, nullptr) == n;
}

}  // namespace

bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string& out) {
    std::wstring wide;
    out.clear();
    return ToWide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, wide) && FromWide(wide, codePage, out);
}

bool CodePageToUtf8(std::string_view text, unsigned codePage, std::string& out) {
    std::wstring wide;
    out.clear();
    return ToWide(text, codePage, 0, wide) && FromWide(wide, CP_UTF8, out);
}

bool ComposeUtf8(std::string_view utf8, std::string& out) {
    std::wstring wide, composed;
    out.clear();
    if (!ToWide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, wide)) return false;
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    // The first call only estimates; a text that composes into more than that says so.
    int n = NormalizeString(NormalizationC, wide.data(), size, nullptr, 0);
    for (int tries = 0; n > 0 && tries < 10; ++tries) {
        composed.resize(static_cast<std::size_t>(n));
        n = NormalizeString(NormalizationC, wide.data(), size, composed.data(), n);
        if (n > 0) {
            composed.resize(static_cast<std::size_t>(n));
            return FromWide(composed, CP_UTF8, out);
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        n = -n;
    }
    return false;
}

}  // namespace platform
