#include "platform/text_convert.h"

#include <windows.h>

#include <string>

static_assert(platform::kUtf8CodePage == CP_UTF8);

namespace platform {

bool ToWide(std::string_view text, unsigned codePage, Conversion conversion, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    const DWORD flags = conversion == Conversion::Exact ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (n <= 0) return false;
    wide.resize(static_cast<std::size_t>(n));
    if (MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n) == n) return true;
    wide.clear();
    return false;
}

bool FromWide(std::wstring_view wide, unsigned codePage, Conversion conversion, std::string& out) {
    out.clear();
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    // UTF-8 takes no best-fit flag and no default-character arguments.
    const bool exact = conversion == Conversion::Exact && codePage != CP_UTF8;
    const DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* lost = exact ? &usedDefault : nullptr;
    const int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, lost);
    if (n <= 0 || usedDefault) return false;
    out.resize(static_cast<std::size_t>(n));
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr, lost) == n && !usedDefault)
        return true;
    out.clear();
    return false;
}

bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string& out) {
    std::wstring wide;
    out.clear();
    return ToWide(utf8, CP_UTF8, Conversion::Exact, wide) && FromWide(wide, codePage, Conversion::Exact, out);
}

bool CodePageToUtf8(std::string_view text, unsigned codePage, std::string& out) {
    std::wstring wide;
    out.clear();
    return ToWide(text, codePage, Conversion::Lenient, wide) && FromWide(wide, CP_UTF8, Conversion::Exact, out);
}

bool ComposeUtf8(std::string_view utf8, std::string& out) {
    std::wstring wide, composed;
    out.clear();
    if (!ToWide(utf8, CP_UTF8, Conversion::Exact, wide)) return false;
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    // The first call only estimates; a text that composes into more than that says so.
    int n = NormalizeString(NormalizationC, wide.data(), size, nullptr, 0);
    for (int tries = 0; n > 0 && tries < 10; ++tries) {
        composed.resize(static_cast<std::size_t>(n));
        n = NormalizeString(NormalizationC, wide.data(), size, composed.data(), n);
        if (n > 0) {
            composed.resize(static_cast<std::size_t>(n));
            return FromWide(composed, CP_UTF8, Conversion::Exact, out);
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        n = -n;
    }
    return false;
}

}  // namespace platform
