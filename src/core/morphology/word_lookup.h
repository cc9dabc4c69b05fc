// Finding a word of a text in the word file: the word itself, else its base forms, else
// (German, Dutch) the final part of a compound. The one operation the reading aid, the
// clipboard lookup and `wordlist lookup` share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/morphology/file_finding.h"

class LanguageMorphology;
struct WordListDescriptor;

enum class Match { Exact, Base, Part, None };
const char* MatchName(Match how);  // "exact", "base", "part", "none"

// A compound's final part stands for the word when it has at least this many letters and
// the part before it at least kMinCompoundHeadChars: shorter ones are too often other
// words ("Brot" is no kind of "rot").
constexpr std::size_t kMinCompoundPartChars = 4;
constexpr std::size_t kMinCompoundHeadChars = 3;
// No final part longer than this is tried, so a long word costs what a normal one does.
constexpr std::size_t kMaxCompoundPartChars = 20;

struct Candidate {
    std::string word;
    Match how;
};

// The record index of a word the word file holds as it is (under the pair's comparator),
// or -1.
using FindHeld = std::function<std::int32_t(const std::string& word)>;

// Every candidate of `word` in the order they are tried: the word itself (without the
// apostrophes and hyphens at its edges), its base forms, then each final part of a
// compound, longest first, followed by its base forms. `morphology` may be none.
std::vector<Candidate> Candidates(const LanguageMorphology* morphology, const std::string& word);

struct LookupResult {
    Match how = Match::None;
    std::string candidate;  // the candidate the word file holds; empty for none
    std::int32_t index = -1;
};
// The first candidate the word file holds, trying them in Candidates' order but making
// each only when the ones before it were not held.
LookupResult LookUp(const LanguageMorphology* morphology, const std::string& word, const FindHeld& find);

// The store's exact lookup: the record of `word` in the open word file, live and equal under
// the pair's comparator; -1 when there is none.
std::int32_t FindHeldInWordFile(const std::string& word);

// LookUp in the open word file with the current pair's morphology: what the reading aid and
// the search window show for a word.
LookupResult LookUpInWordFile(const std::string& word);

// The morphology of the pair's first language, loaded from kMorphologyDirectory the first
// time it is asked for and kept until a pair of another language asks (or
// ReleaseMorphology). Never none: a language without files has an empty one.
const LanguageMorphology& MorphologyOf(const WordListDescriptor& pair);
// The language MorphologyOf keeps loaded, or none.
const LanguageMorphology* LoadedMorphology();
// What was wrong with the files of the language MorphologyOf loaded last.
const std::vector<MorphologyFinding>& MorphologyFindings();
// Frees the loaded dictionary unless it is `pair`'s language's (a pair switch).
void ReleaseMorphologyUnlessFor(const WordListDescriptor& pair);
void ReleaseMorphology();
