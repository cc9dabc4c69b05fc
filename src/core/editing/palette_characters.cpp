#include "core/editing/palette_characters.h"

#include <cstdio>

#include "platform/lines.h"
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
    // The letters are the first line; a break is no letter to offer.
    char start[kMaxPaletteChars];
    const std::size_t n = std::fread(start, 1, sizeof start, file);
    std::fclose(file);
    return std::string(LineAt(std::string_view(start, n), 0).text);
}

int PaletteColumns(std::size_t characters) { return static_cast<int>((characters + 1) / 2); }

int PaletteWidth(std::size_t characters) { return kPaletteButtonWidth * PaletteColumns(characters) + 5; }
