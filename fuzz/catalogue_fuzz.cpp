// The catalogue file (languages.ini): its language section read into pairs, the selected
// pair read and written, and a new language added by the new-language window.
// Input: the catalogue file.
#include <algorithm>
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

// The lines of a text, each with the CR, LF or CRLF that ends it.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        if (end < text.size()) end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

bool IsSelectionHeader(const std::string& line) {
    return PrefixEqualsIgnoringAsciiCase(line.substr(0, line.find_first_of("\r\n")), "[selected]", 10);
}

// Saving a selection rewrites the line after each selection header (adding one after a
// header on the last line) and leaves every other line as it was, breaks included.
void CheckSelectionWrite(const std::string& before, const std::string& after) {
    const std::vector<std::string> old = Lines(before), now = Lines(after);
    const std::string detail = "before: " + Shown(before) + "\nafter: " + Shown(after);
    FUZZ_CHECK(
        now.size() == old.size() || (!old.empty() && now.size() == old.size() + 1 && IsSelectionHeader(old.back())),
        detail);
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (i > 0 && IsSelectionHeader(old[i - 1])) continue;
        if (IsSelectionHeader(old[i]))
            FUZZ_CHECK(now[i].compare(0, old[i].size(), old[i]) == 0, detail);
        else
            FUZZ_CHECK(now[i] == old[i], detail);
    }
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

        const WordListDescriptor& chosen = *PairAt(static_cast<int>(size % static_cast<std::size_t>(PairCount())));
        FUZZ_CHECK(SaveSelection(chosen) == 0, Shown(text));
        CheckSelectionWrite(text, FileBytes(kCatalogue));
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
