// Sort tables (tables\<language>.stb): 256 byte weights, or fewer, that order a language's
// words. Whatever the table holds, comparing is a consistent order, the sort keys order
// words as the comparison does, and a sorted word file comes out in that order.
// Input: the table, then the words one per line after a "@@" line.
#include <algorithm>
#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/text/fixed_text.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kMaxWords = 24;

int Sign(int v) { return (v > 0) - (v < 0); }

int KeySign(const std::string& a, const std::string& b) {
    std::string ka, kb;
    AppendCollationKey(a.c_str(), ka);
    AppendCollationKey(b.c_str(), kb);
    const int d = std::memcmp(ka.data(), kb.data(), std::min(ka.size(), kb.size()));
    return d != 0 ? Sign(d) : Sign(static_cast<int>(ka.size()) - static_cast<int>(kb.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    const auto parts = SplitInput(data, size, 2);
    const std::string table(*parts[0]);
    std::vector<std::string> words;
    std::vector<WordRecord> records;
    for (std::string_view rest = parts[1].value_or(""); !rest.empty() && words.size() < kMaxWords;) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        WordRecord r{};
        SetWord(r, rest.substr(0, end));
        SetTranslation(r, std::to_string(words.size()));
        words.emplace_back(r.word);
        records.push_back(r);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    const std::string detail = "table: " + Shown(table) + "\nwords: " + Shown(parts[1].value_or(""));

    // The catalogue notes which languages have a table; a short table leaves the weights it
    // lacks as they were, which here is as at start-up.
    PutFile("tables/spanish.stb", table);
    PutFile("languages.ini", "[languages]\r\nspanish,spanish,0\r\n");
    FUZZ_CHECK(BuildCatalogue() == 0, detail);
    CurrentPair = PairAt(0);
    std::memset(SortTable, 0, sizeof SortTable);
    SetCollation(*CurrentPair, LocaleReport::Silent);

    for (const std::string& a : words)
        for (const std::string& b : words) {
            const int d = Sign(CompareWords(a.c_str(), b.c_str()));
            const std::string which = Shown(a) + " and " + Shown(b) + "\n" + detail;
            FUZZ_CHECK(d == -Sign(CompareWords(b.c_str(), a.c_str())), which);
            FUZZ_CHECK(d == KeySign(a, b), which);
        }

    std::string file;
    for (const WordRecord& r : records) file.append(reinterpret_cast<const char*>(&r), sizeof r);
    PutFile(std::string("wordlists/") + WordFileName(*CurrentPair), file);
    OpenWordFile();
    CountRecords();
    SortAndCheck(records, 0, detail);
    CloseWordFile();
    return 0;
}
