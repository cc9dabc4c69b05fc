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

    // At most 254 letters from the start of the first line, which CR, LF or CRLF ends.
    FUZZ_CHECK(letters.size() <= 254 && file.substr(0, letters.size()) == letters, detail);
    const std::size_t lineEnd = std::min(file.find_first_of("\r\n"), file.size());
    FUZZ_CHECK(letters.size() == std::min<std::size_t>(lineEnd, 254), detail);
    // Buttons for every letter, in at most two rows.
    FUZZ_CHECK(2 * static_cast<std::size_t>(PaletteColumns(letters.size())) >= letters.size(), detail);
    return 0;
}
