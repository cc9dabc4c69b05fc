// Text copied elsewhere becomes the search field's text and so a search key: the search
// finds where that key belongs in the sorted word file, whatever bytes it holds.
// Input: the clipboard's text (as the field keeps it: up to its first zero, at most 37
// bytes), then the word file after a "@@" line. Even lengths search the Spanish pair,
// which sorts by the demo's sort table, odd ones the Dutch pair and the locale's order.
#include <filesystem>

#include "core/catalogue/catalogue.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kSearchChars = 37;

void Setup() {
    std::filesystem::create_directories("tables");
    std::filesystem::copy_file(DICT_SOURCE_DIR "/data/tables/spanish.stb", "tables/spanish.stb",
                               std::filesystem::copy_options::overwrite_existing);
    PutFile("languages.ini", "[languages]\r\nspanish,spanish,0\r\ndutch,dutch,0\r\n");
    if (BuildCatalogue() != 0) PropertyFailed("BuildCatalogue() == 0", __FILE__, __LINE__, "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    static const bool ready = (Setup(), true);
    (void)ready;
    const auto parts = SplitInput(data, size, 2);
    std::string key(*parts[0]);
    key = key.substr(0, std::min(key.find('\0'), kSearchChars));
    const std::string words(parts[1].value_or(""));
    const std::string detail = "key: " + Shown(key) + "\nwords: " + Shown(words);

    CurrentPair = PairAt(size % 2 == 0 ? 0 : 1);
    SetCollation(*CurrentPair, LocaleReport::Silent);
    PutFile(std::string("wordlists/") + WordFileName(*CurrentPair), words);
    OpenWordFile();
    CountRecords();
    SortAndCheck(WholeRecords(words), 0, detail);

    // The search lands on a word equal to the key, or where the key belongs: after every
    // smaller word and before every greater one.
    const std::int32_t at = FindWord(key.c_str());
    FUZZ_CHECK(at >= 0 && at <= WordCount, detail);
    bool equal = false;
    if (at < WordCount) {
        ReadWord(at);
        const int d = CompareWords(CurrentRecord.word, key.c_str());
        FUZZ_CHECK(d >= 0, detail);
        equal = d == 0;
    }
    if (at > 0 && !equal) {
        ReadWord(at - 1);
        FUZZ_CHECK(CompareWords(CurrentRecord.word, key.c_str()) < 0, detail);
    }
    CloseWordFile();
    return 0;
}
