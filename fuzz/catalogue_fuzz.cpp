// The catalogue file (languages.ini): its language section read into pairs, the selected
// pair read and written, and a new language added by the new-language window.
// Input: the catalogue file.
#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/text/fixed_text.h"
#include "fuzz_support.h"

namespace {

const char kCatalogue[] = "languages.ini";
const char kAdded[] = "zz";

// The first language of every forward pair, in catalogue order; none when it does not build.
std::optional<std::vector<std::string>> ForwardLanguages() {
    if (BuildCatalogue() != 0) return std::nullopt;
    std::vector<std::string> names;
    const int forward = PairCount() / 2;
    for (int i = 0; i < forward; ++i) names.push_back(PairAt(i)->name1);
    return names;
}

bool HasSelectionHeader(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        if (PrefixEqualsIgnoringAsciiCase(text.substr(pos, end - pos), "[selected]", 10)) return true;
        pos = end + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    const std::string text(reinterpret_cast<const char*>(data), size);
    PutFile(kCatalogue, text);

    const std::optional<std::vector<std::string>> before = ForwardLanguages();
    if (before) {
        FUZZ_CHECK(PairCount() == 2 * static_cast<int>(before->size()), Shown(text));
        for (int i = 0; i < PairCount(); ++i) {
            const WordListDescriptor& pair = *PairAt(i);
            FUZZ_CHECK(ReversePair(pair) != nullptr, Shown(text));
            FUZZ_CHECK(PairPosition(&pair) == i, Shown(text));
            (void)std::strlen(WordFileName(pair));
            (void)std::strlen(ListFileName(pair));
        }
        FUZZ_CHECK(ReadSelectedPair() == 0, Shown(text));
        FUZZ_CHECK(PairPosition(CurrentPair) >= 0, Shown(text));

        // Saving a selection rewrites only the line after the selection header.
        const WordListDescriptor& chosen = *PairAt(static_cast<int>(size % static_cast<std::size_t>(PairCount())));
        FUZZ_CHECK(SaveSelection(chosen) == 0, Shown(text));
        if (!HasSelectionHeader(text)) FUZZ_CHECK(FileBytes(kCatalogue) == text, Shown(text));
        PutFile(kCatalogue, text);
    }

    // A language the window adds is read back as one more language, and no other is lost.
    if (AddLanguageLine(std::string(kAdded) + ",german,0") == CatalogueWrite::Done) {
        const std::string written = FileBytes(kCatalogue);
        const std::optional<std::vector<std::string>> after = ForwardLanguages();
        const std::string detail = "before: " + Shown(text) + "\nafter: " + Shown(written);
        FUZZ_CHECK(after.has_value(), detail);
        const std::vector<std::string> old = before.value_or(std::vector<std::string>{});
        bool oneMore = false;
        for (std::size_t i = 0; i < after->size() && !oneMore; ++i) {
            if ((*after)[i] != kAdded) continue;
            std::vector<std::string> without = *after;
            without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
            oneMore = without == old;
        }
        FUZZ_CHECK(oneMore, detail);
    }
    return 0;
}
