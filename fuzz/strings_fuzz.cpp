// Strings files: the scrambled table the program loads at start-up, and the plain text the
// companion packs into one and unpacks again. Input: a strings file as it lies on disk
// (and the same bytes once more as plain text).
#include <cstring>

#include "core/strings/strings_file.h"
#include "core/strings/ui_strings.h"
#include "fuzz_support.h"

namespace {

// Plain text that packs into exactly its own lines: a CR at a line's end is dropped and an
// empty line only separates, so texts holding either come back changed.
bool Canonical(const std::string& plain) {
    return plain.find('\r') == std::string::npos && plain.find("\n\n") == std::string::npos &&
           (plain.empty() || plain.front() != '\n');
}

std::string Repacked(const std::string& plain) {
    std::string packed, error;
    FUZZ_CHECK(PackStrings(plain, packed, error), error + "\n" + Shown(plain));
    return UnpackStrings(packed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    const std::string input(reinterpret_cast<const char*>(data), size);

    // Read as the program reads it: language.ini names the file, which is loaded whole.
    PutFile("language.ini", "[Dictionary]\r\nLanguage=english\r\n");
    PutFile("strings/english.str", input);
    if (LoadUiStringsFromWorkingDirectory().status == UiLoadStatus::Loaded) {
        for (int k = 0; k < kUiKeyCount; ++k) {
            (void)std::strlen(Ui(static_cast<UiKey>(k)));  // every entry ends inside the table
            UiNumber(static_cast<UiKey>(k));
        }
        UiTextOr("TranslateTooLarge", "built in");
    }

    // Whatever unpacks packs again, and canonical text comes back as it was.
    const std::string plain = UnpackStrings(input);
    const std::string again = Repacked(plain);
    if (Canonical(plain)) FUZZ_CHECK(again == plain, Shown(plain) + "\nagain: " + Shown(again));

    // The input as plain text: it packs unless a line holds a zero byte, and one round of
    // packing and unpacking leaves text that the next round keeps.
    std::string packed, error;
    if (!PackStrings(input, packed, error)) {
        FUZZ_CHECK(input.find('\0') != std::string::npos, error);
    } else if (input.find('\r') == std::string::npos) {
        const std::string once = UnpackStrings(packed);
        FUZZ_CHECK(Repacked(once) == once, Shown(once));
    }
    return 0;
}
