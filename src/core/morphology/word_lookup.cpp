#include "core/morphology/word_lookup.h"

#include <algorithm>
#include <memory>

#include "core/catalogue/catalogue.h"
#include "core/morphology/language_morphology.h"
#include "core/morphology/word_rules.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/text/code_page.h"

namespace {

struct LoadedLanguage {
    std::string locale;
    unsigned codePage = 0;
    std::unique_ptr<LanguageMorphology> morphology;
    std::vector<MorphologyFinding> findings;
};
LoadedLanguage loaded;

// Visits the candidates in order until `visit` returns true; true then.
template <typename Visit>
bool VisitCandidates(const LanguageMorphology* morphology, const std::string& spelled, Visit visit) {
    const std::string word(TrimWordEdges(spelled));
    if (word.empty()) return false;
    if (visit(word, Match::Exact)) return true;
    if (!morphology) return false;
    for (const std::string& base : morphology->BaseForms(word))
        if (visit(base, Match::Base)) return true;
    // A hyphenated compound ("Sahne-Sauce") ends in a word of its own.
    if (const std::size_t hyphen = word.rfind('-'); hyphen != std::string::npos) {
        const std::string last = word.substr(hyphen + 1);
        if (last.size() < kMinCompoundPartChars) return false;
        if (visit(last, Match::Part)) return true;
        for (const std::string& base : morphology->BaseForms(last))
            if (visit(base, Match::Part)) return true;
        return false;
    }
    if (!morphology->SplitsCompounds() || word.size() < kMinCompoundHeadChars + kMinCompoundPartChars) return false;
    const std::size_t longest = std::min(kMaxCompoundPartChars, word.size() - kMinCompoundHeadChars);
    const unsigned codePage = morphology->CodePage();
    const bool capital = LowerInitial(word, codePage) != word;
    for (std::size_t n = longest; n >= kMinCompoundPartChars; --n) {
        std::string part = word.substr(word.size() - n);
        // A hyphen or apostrophe inside the word joins it of words already looked up.
        if (part.find_first_of("-'") != std::string::npos) break;
        // A capital compound (a German noun) ends in a noun, which a dictionary spells
        // with a capital.
        if (capital) part = UpperInitial(part, codePage);
        if (visit(part, Match::Part)) return true;
        for (const std::string& base : morphology->BaseForms(part))
            if (visit(base, Match::Part)) return true;
    }
    return false;
}

}  // namespace

const char* MatchName(Match how) {
    switch (how) {
        case Match::Exact:
            return "exact";
        case Match::Base:
            return "base";
        case Match::Part:
            return "part";
        case Match::None:
            break;
    }
    return "none";
}

std::vector<Candidate> Candidates(const LanguageMorphology* morphology, const std::string& word) {
    std::vector<Candidate> out;
    VisitCandidates(morphology, word, [&](const std::string& c, Match how) {
        out.push_back({c, how});
        return false;
    });
    return out;
}

LookupResult LookUp(const LanguageMorphology* morphology, const std::string& word, const FindHeld& find) {
    LookupResult result;
    VisitCandidates(morphology, word, [&](const std::string& c, Match how) {
        const std::int32_t index = find(c);
        if (index < 0) return false;
        result = {how, c, index};
        return true;
    });
    return result;
}

std::int32_t FindHeldInWordFile(const std::string& word) {
    if (word.empty() || word.size() > kMaxWordChars) return -1;
    // Deleted records keep their place in the order, so an equal live one may follow one.
    for (std::int32_t i = FindWord(word.c_str()); i < WordCount; ++i) {
        if (ReadWord(i) != 0 || CompareWords(CurrentRecord.word, word.c_str()) != 0) return -1;
        if (!IsDeleted(CurrentRecord)) return i;
    }
    return -1;
}

const LanguageMorphology& MorphologyOf(const WordListDescriptor& pair) {
    const unsigned codePage = CodePageOfCharset(pair.charset1);
    if (!loaded.morphology || loaded.locale != pair.locale || loaded.codePage != codePage) {
        ReleaseMorphology();
        loaded.locale = pair.locale;
        loaded.codePage = codePage;
        loaded.morphology =
            std::make_unique<LanguageMorphology>(kMorphologyDirectory, pair.locale, codePage, loaded.findings);
    }
    return *loaded.morphology;
}

LookupResult LookUpInWordFile(const std::string& word) {
    return LookUp(&MorphologyOf(*CurrentPair), word, FindHeldInWordFile);
}

const LanguageMorphology* LoadedMorphology() { return loaded.morphology.get(); }

const std::vector<MorphologyFinding>& MorphologyFindings() { return loaded.findings; }

void ReleaseMorphologyUnlessFor(const WordListDescriptor& pair) {
    if (loaded.locale != pair.locale || loaded.codePage != CodePageOfCharset(pair.charset1)) ReleaseMorphology();
}

void ReleaseMorphology() { loaded = LoadedLanguage(); }
