#include "tools/wordlist/lookup_command.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lookup/reading.h"
#include "core/morphology/language_morphology.h"
#include "core/morphology/word_lookup.h"
#include "core/store/store.h"
#include "core/text/code_page.h"
#include "platform/platform.h"
#include "tools/wordlist/stats_timer.h"

namespace wordlist {

// Prints "word<TAB>how<TAB>headword<TAB>translation" for each word, in the pair's code
// page as the word file holds it. The words of --text are cut out as the reading aid cuts
// them; words given on the command line are read as a text is (UTF-8 or the code page).
int LookupCommand(const Options& options) {
    const unsigned codePage = CodePageOfCharset(CurrentPair->charset1);
    std::vector<std::string> words;
    if (!options.textFile.empty()) {
        std::string file;
        if (!platform::ReadFileBytes(options.textFile, file)) return Fail("cannot read " + options.textFile);
        words = WordsOf(ReadingTextOf(file, codePage).text);
    }
    for (const std::string& given : options.words) words.push_back(ReadingTextOf(given, codePage).text);

    const StatsTimer timer(options.stats);
    const std::uint64_t peakBefore = platform::PeakMemoryBytes();
    const LanguageMorphology& morphology = MorphologyOf(*CurrentPair);
    const double loadSeconds = timer.Seconds();
    const std::uint64_t peakLoaded = platform::PeakMemoryBytes();
    for (const MorphologyFinding& f : MorphologyFindings())
        std::fprintf(stderr, "wordlist: %s%s%s: %s; no base forms\n", f.file.c_str(), f.line ? " line " : "",
                     f.line ? std::to_string(f.line).c_str() : "", f.what.c_str());
    int counts[4] = {};
    for (const std::string& word : words) {
        const LookupResult found = LookUp(&morphology, word, FindHeldInWordFile);
        ++counts[static_cast<int>(found.how)];
        const bool held = found.index >= 0 && ReadWord(found.index) == 0;
        std::printf("%s\t%s\t%s\t%s\n", word.c_str(), MatchName(found.how), held ? CurrentRecord.word : "",
                    held ? CurrentRecord.translation : "");
    }
    if (timer.on()) {
        const double total = timer.Seconds();
        // The peak grows by what the language holds (and what reading its files took at once).
        std::fprintf(stderr, "load\t%.1f ms\nlanguage memory\t%.1f MB\nwords\t%zu\t%.1f microseconds each\n",
                     loadSeconds * 1e3, static_cast<double>(peakLoaded - peakBefore) / 1e6, words.size(),
                     words.empty() ? 0.0 : (total - loadSeconds) * 1e6 / static_cast<double>(words.size()));
        for (Match how : {Match::Exact, Match::Base, Match::Part, Match::None})
            std::fprintf(stderr, "%s\t%d\n", MatchName(how), counts[static_cast<int>(how)]);
    }
    return 0;
}

}  // namespace wordlist
