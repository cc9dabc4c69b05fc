// Palette files (charset\<language>.chs): the first line holds the letters the palette
// offers. Input: the file.
#include "core/editing/palette_characters.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    PutFile("charset/french.chs", file);
    const std::string letters = PaletteCharacters("french");
    const std::string detail = Shown(file) + "\nletters: " + Shown(letters);

    // At most 254 letters from the start of the first line, and no line break among them.
    FUZZ_CHECK(letters.size() <= 254 && file.substr(0, letters.size()) == letters, detail);
    FUZZ_CHECK(letters.find('\n') == std::string::npos, detail);
    const std::size_t lineEnd = std::min(file.find('\n'), file.size());
    if (lineEnd <= 254) {
        std::string_view line = file.substr(0, lineEnd);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        FUZZ_CHECK(letters == line, detail);
    }
    // Buttons for every letter, in at most two rows.
    FUZZ_CHECK(2 * static_cast<std::size_t>(PaletteColumns(letters.size())) >= letters.size(), detail);
    return 0;
}
