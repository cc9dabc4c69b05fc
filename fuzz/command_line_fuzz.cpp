// The command line ("/gk german" chooses a pair, "record" the recorder): parsed, and the
// pair it asks for made current among the demo catalogue's pairs. Input: the command line.
#include <filesystem>

#include "core/catalogue/catalogue.h"
#include "core/session/startup.h"
#include "core/text/fixed_text.h"
#include "fuzz_support.h"

namespace {

bool StartsWith(const char* name, const std::string& prefix) {
    return PrefixEqualsIgnoringAsciiCase(name, prefix, prefix.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    static const bool ready = [] {
        std::filesystem::copy_file(DICT_SOURCE_DIR "/data/languages.ini", "languages.ini");
        return BuildCatalogue() == 0;
    }();
    FUZZ_CHECK(ready, "the demo catalogue");
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CommandLine line = ParseCommandLine(text);
    const std::string detail = Shown(text) + "\nrequested: " + Shown(line.requestedPair);
    FUZZ_CHECK(line.requestedPair.size() + 3 <= 99 && text.find(line.requestedPair) != std::string::npos, detail);

    CurrentPair = PairAt(PairCount() / 2);
    ApplyRequestedPair(line.requestedPair);
    FUZZ_CHECK(PairPosition(CurrentPair) >= 0, detail);
    // A pair named by the request is chosen, unless the current one already has that language.
    if (line.requestedPair.empty()) return 0;
    bool named = false;
    for (int i = 0; i < PairCount(); ++i) named = named || StartsWith(PairAt(i)->name1, line.requestedPair);
    if (named)
        FUZZ_CHECK(
            StartsWith(CurrentPair->name1, line.requestedPair) || StartsWith(CurrentPair->name2, line.requestedPair),
            detail);
    return 0;
}
