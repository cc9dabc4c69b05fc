#include "core/editing/palette_characters.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

constexpr std::size_t kMaxPaletteChars = 254;

std::string BuiltInCharacters() {
    std::string set;
    for (int c = 0xC0; c <= 0xDF; ++c) set += static_cast<char>(c);
    set += '\xBF';
    for (int c = 0xE0; c <= 0xFF; ++c) set += static_cast<char>(c);
    set += '\xA7';
    return set;
}

}  // namespace

std::string PaletteCharacters(const std::string& language) {
    const auto path = platform::MakePath({"charset\\", language, ".chs"});
    FILE* file = path ? platform::OpenFile(*path, "rb") : nullptr;
    if (!file) return BuiltInCharacters();
    // CR, LF and CRLF all end the line; a break is no letter to offer.
    std::string line;
    for (int c; line.size() < kMaxPaletteChars && (c = std::fgetc(file)) != EOF && c != '\n' && c != '\r';)
        line += static_cast<char>(c);
    std::fclose(file);
    return line;
}

int PaletteColumns(std::size_t characters) { return static_cast<int>((characters + 1) / 2); }

int PaletteWidth(std::size_t characters) { return 19 * PaletteColumns(characters) + 5; }
