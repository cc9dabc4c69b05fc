#include "platform/text_convert.h"

#include <iconv.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

namespace platform {

namespace {

// One converter per direction and code page, kept for the thread (a converter holds the
// state of its conversion, and an import converts on two threads): opening one costs far
// more than converting a word.
struct Converters {
    std::map<std::string, iconv_t> open;
    ~Converters() {
        for (auto& [name, cd] : open)
            if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

iconv_t Converter(const std::string& to, const std::string& from) {
    thread_local Converters converters;
    const std::string name = to + "<" + from;
    auto found = converters.open.find(name);
    if (found != converters.open.end()) return found->second;
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    converters.open.emplace(name, cd);
    return cd;
}

// Converts bytes; a unit of the input that does not convert fails the whole text unless a
// replacement is given, which then stands for it.
bool Convert(iconv_t cd, std::string_view text, std::string& out, std::size_t unit = 1,
             std::string_view replacement = {}) {
    out.clear();
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* next = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &inLeft, &next, &outLeft);
        out.append(buffer, static_cast<std::size_t>(next - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        if (replacement.empty() || inLeft < unit) return false;
        out += replacement;
        in += unit;
        inLeft -= unit;
    }
    return true;
}

// iconv names the ISO 8859 and KOI8 code pages by their standards, not by the numbers
// Windows gives them.
std::string CodePageName(unsigned codePage) {
    if (codePage == kUtf8CodePage) return "UTF-8";
    if (codePage >= 28591 && codePage <= 28605) return "ISO-8859-" + std::to_string(codePage - 28590);
    if (codePage == 20866) return "KOI8-R";
    if (codePage == 21866) return "KOI8-U";
    return "CP" + std::to_string(codePage);
}

std::string WideBytes(wchar_t c) { return std::string(reinterpret_cast<const char*>(&c), sizeof c); }

}  // namespace

bool ToWide(std::string_view text, unsigned codePage, Conversion conversion, std::wstring& wide) {
    wide.clear();
    std::string bytes;
    const std::string replacement = conversion == Conversion::Lenient ? WideBytes(L'\uFFFD') : std::string();
    if (!Convert(Converter("WCHAR_T", CodePageName(codePage)), text, bytes, 1, replacement)) return false;
    wide.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    return true;
}

bool FromWide(std::wstring_view wide, unsigned codePage, Conversion conversion, std::string& out) {
    const std::string_view bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    const bool lenient = conversion == Conversion::Lenient && codePage != kUtf8CodePage;
    if (Convert(Converter(CodePageName(codePage), "WCHAR_T"), bytes, out, sizeof(wchar_t), lenient ? "?" : ""))
        return true;
    out.clear();
    return false;
}

bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string& out) {
    return Convert(Converter(CodePageName(codePage), "UTF-8"), utf8, out);
}

bool CodePageToUtf8(std::string_view text, unsigned codePage, std::string& out) {
    return Convert(Converter("UTF-8", CodePageName(codePage)), text, out);
}

bool ComposeUtf8(std::string_view utf8, std::string& out) {
    out.clear();
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status) || utf8.size() > 0x3FFFFFFF) return false;
    const int32_t size = static_cast<int32_t>(utf8.size());
    // UTF-16 takes no more units than UTF-8 takes bytes, and the composed form is at most
    // three times as long.
    std::vector<UChar> wide(utf8.size() + 1), composed(utf8.size() * 3 + 1);
    int32_t wideLength = 0, composedLength = 0, outLength = 0;
    u_strFromUTF8(wide.data(), static_cast<int32_t>(wide.size()), &wideLength, utf8.data(), size, &status);
    if (U_FAILURE(status)) return false;
    composedLength =
        unorm2_normalize(nfc, wide.data(), wideLength, composed.data(), static_cast<int32_t>(composed.size()), &status);
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(composedLength) * 3 + 1);
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, composed.data(), composedLength, &status);
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(outLength));
    return true;
}

}  // namespace platform
