#include "platform/text_convert.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <string>

namespace platform {

namespace {

// One converter per direction and code page, kept for the process: opening one costs far
// more than converting a word.
struct Converters {
    std::map<std::string, iconv_t> open;
    ~Converters() {
        for (auto& [name, cd] : open)
            if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

iconv_t Converter(const std::string& to, const std::string& from) {
    static Converters converters;
    const std::string name = to + "<" + from;
    auto found = converters.open.find(name);
    if (found != converters.open.end()) return found->second;
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    converters.open.emplace(name, cd);
    return cd;
}

bool Convert(iconv_t cd, std::string_view text, std::string& out) {
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
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
}

std::string CodePageName(unsigned codePage) { return "CP" + std::to_string(codePage); }

}  // namespace

bool Utf8ToCodePage(std::string_view utf8, unsigned codePage, std::string& out) {
    return Convert(Converter(CodePageName(codePage), "UTF-8"), utf8, out);
}

bool CodePageToUtf8(std::string_view text, unsigned codePage, std::string& out) {
    return Convert(Converter("UTF-8", CodePageName(codePage)), text, out);
}

}  // namespace platform
