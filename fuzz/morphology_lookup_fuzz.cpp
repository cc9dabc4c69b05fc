// Looking a word of a text up through a loaded language: a small German dictionary with a
// table of forms, and any bytes as the word (a 99-letter one, letters of no alphabet).
// Input: the word, then optionally "@@" and the words the word file holds, one a line.
#include <algorithm>

#include "core/lookup/reading.h"
#include "core/morphology/language_morphology.h"
#include "core/morphology/word_lookup.h"
#include "fuzz_support.h"

namespace {

const LanguageMorphology& German() {
    static const LanguageMorphology* german = [] {
        EnterScratchWorkingDirectory();
        PutFile("morphology\\german.aff", std::string_view("SET UTF-8\nSFX N Y 2\nSFX N 0 en .\nSFX N 0 n e\n"
                                                           "SFX E Y 1\nSFX E 0 e .\nPFX G Y 1\nPFX G 0 ge .\n"));
        PutFile("morphology\\german.dic", std::string_view("4\nBericht/NE\nHaus/E\ngehen/G\nStra\xC3\x9F"
                                                           "e/N\n"));
        PutFile("morphology\\german.forms", std::string_view("ging\tgehen\nim\tin\nist\tsein\n"));
        std::vector<MorphologyFinding> findings;
        auto* loaded = new LanguageMorphology("morphology", "german", 1252, findings);
        if (!findings.empty() || !loaded->HasDictionary())
            PropertyFailed("the dictionary loads", __FILE__, __LINE__, "");
        return loaded;
    }();
    return *german;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LanguageMorphology& german = German();
    const auto parts = SplitInput(data, size, 2);
    std::string word(parts[0].value_or(""));
    if (word.size() > kMaxLookedUpChars) word.resize(kMaxLookedUpChars);
    std::vector<std::string> held;
    if (parts[1]) {
        for (std::size_t start = 0; start <= parts[1]->size();) {
            std::size_t end = std::min(parts[1]->find('\n', start), parts[1]->size());
            held.emplace_back(parts[1]->substr(start, end - start));
            start = end + 1;
        }
    }
    const std::string detail = Shown(word);
    const std::vector<Candidate> candidates = Candidates(&german, word);
    // The candidates are bounded whatever the word: no more than a compound's parts allow.
    FUZZ_CHECK(candidates.size() <= 64 + 8 * kMaxCompoundPartChars, detail);
    if (!candidates.empty()) FUZZ_CHECK(candidates[0].how == Match::Exact, detail);
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        FUZZ_CHECK(candidates[i].how >= candidates[i - 1].how, detail);
        FUZZ_CHECK(!candidates[i].word.empty(), detail);
    }
    int looks = 0;
    const LookupResult found = LookUp(&german, word, [&](const std::string& candidate) {
        ++looks;
        const auto at = std::find(held.begin(), held.end(), candidate);
        return at == held.end() ? -1 : static_cast<std::int32_t>(at - held.begin());
    });
    // The first held candidate wins, and nothing is tried that Candidates does not list.
    FUZZ_CHECK(static_cast<std::size_t>(looks) <= candidates.size(), detail);
    if (found.how == Match::None) {
        FUZZ_CHECK(found.index == -1 && found.candidate.empty(), detail);
        FUZZ_CHECK(static_cast<std::size_t>(looks) == candidates.size(), detail);
    } else {
        FUZZ_CHECK(found.index >= 0 && held[static_cast<std::size_t>(found.index)] == found.candidate, detail);
        FUZZ_CHECK(candidates[static_cast<std::size_t>(looks) - 1].word == found.candidate, detail);
    }
    return 0;
}
