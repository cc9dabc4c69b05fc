#include "core/morphology/word_rules.h"

#include <cctype>

namespace {

constexpr char kTypographicApostrophe = '\x92';

bool IsApostrophe(char c) { return c == '\'' || c == kTypographicApostrophe; }

char FoldAscii(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Whether `word` ends in `ending`, the case of A-Z aside, with an apostrophe standing for
// either apostrophe.
bool EndsWith(std::string_view word, std::string_view ending) {
    if (word.size() < ending.size()) return false;
    const std::string_view tail = word.substr(word.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (IsApostrophe(ending[i]) ? !IsApostrophe(tail[i]) : FoldAscii(tail[i]) != ending[i]) return false;
    }
    return true;
}

// Keeps the case of the word's first letter, so "Won't" gives "Will".
std::string LikeWord(std::string_view word, std::string_view base) {
    std::string out(base);
    if (!out.empty() && !word.empty() && std::isupper(static_cast<unsigned char>(word[0])))
        out[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[0])));
    return out;
}

std::vector<std::string> EnglishBases(std::string_view word) {
    // The contractions whose stem changes.
    static const struct {
        const char* form;
        const char* base;
    } kIrregular[] = {{"won't", "will"}, {"can't", "can"}, {"shan't", "shall"}, {"ain't", "be"}};
    for (const auto& c : kIrregular)
        if (word.size() == std::string_view(c.form).size() && EndsWith(word, c.form)) return {LikeWord(word, c.base)};
    static const char* const kEndings[] = {"n't", "'s", "'re", "'ve", "'ll", "'d", "'m"};
    for (std::string_view ending : kEndings)
        if (word.size() > ending.size() && EndsWith(word, ending))
            return {std::string(word.substr(0, word.size() - ending.size()))};
    // "the boys' books"
    if (word.size() > 2 && IsApostrophe(word.back()) && FoldAscii(word[word.size() - 2]) == 's')
        return {std::string(word.substr(0, word.size() - 1))};
    return {};
}

// "l'homme", "qu'il", "jusqu'ici": the elided word before the apostrophe goes.
std::vector<std::string> FrenchBases(std::string_view word) {
    for (std::size_t i = 1; i < word.size() && i <= 7; ++i) {
        if (!IsApostrophe(word[i])) continue;
        const std::string_view before = word.substr(0, i);
        const bool elides = before.size() == 1 || EndsWith(before, "qu");
        if (elides && i + 1 < word.size()) return {std::string(word.substr(i + 1))};
        break;
    }
    return {};
}

// The plural endings of derived nouns, which are regular where a stem dictionary may only
// know the verb the noun comes from ("Verhandlungen" is "Verhandlung", not "verhandeln").
struct Ending {
    const char* plural;
    const char* singular;
};
constexpr Ending kGermanEndings[] = {
    {"ungen", "ung"},  {"heiten", "heit"}, {"keiten", "keit"}, {"schaften", "schaft"}, {"innen", "in"},
    {"nissen", "nis"}, {"nisse", "nis"},   {"ionen", "ion"},   {"t\xE4ten", "t\xE4t"}};  // ä in code page 1252
constexpr Ending kDutchEndings[] = {{"heden", "heid"}, {"ingen", "ing"}, {"ties", "tie"}};

template <std::size_t N>
std::vector<std::string> EndingBases(std::string_view word, const Ending (&endings)[N]) {
    for (const Ending& e : endings) {
        const std::string_view plural = e.plural;
        // The stem before the ending keeps at least two letters: "Innen" is no plural.
        if (word.size() >= plural.size() + 2 && EndsWith(word, plural))
            return {std::string(word.substr(0, word.size() - plural.size())) + e.singular};
    }
    return {};
}

// German: "gibt's", "für'n" lose the clitic; a word in the spelling before 1996 ("muß",
// "Streß") is written with "ss" now, as the dictionaries spell it.
std::vector<std::string> GermanBases(std::string_view word) {
    for (std::string_view clitic : {"'s", "'n", "'ne"})
        if (word.size() > clitic.size() + 1 && EndsWith(word, clitic))
            return {std::string(word.substr(0, word.size() - clitic.size()))};
    std::vector<std::string> bases = EndingBases(word, kGermanEndings);
    if (word.find('\xDF') != std::string_view::npos) {  // ß in code page 1252
        std::string newSpelling;
        for (char c : word) newSpelling += c == '\xDF' ? std::string("ss") : std::string(1, c);
        bases.push_back(newSpelling);
    }
    return bases;
}

}  // namespace

RuleLanguage RuleLanguageOf(std::string_view locale) {
    const std::string_view language = locale.substr(0, locale.find('-'));
    if (language == "english" || language == "american") return RuleLanguage::English;
    if (language == "german") return RuleLanguage::German;
    if (language == "dutch") return RuleLanguage::Dutch;
    if (language == "french") return RuleLanguage::French;
    return RuleLanguage::Other;
}

std::string_view TrimWordEdges(std::string_view word) {
    const auto edge = [](char c) { return IsApostrophe(c) || c == '-'; };
    const bool quoted = !word.empty() && IsApostrophe(word.front());
    while (!word.empty() && edge(word.front())) word.remove_prefix(1);
    // A final apostrophe after an s is English's plural possessive, which its rule reads,
    // unless the word is in quotes.
    while (!word.empty() &&
           (word.back() == '-' ||
            (IsApostrophe(word.back()) && (quoted || word.size() < 2 || FoldAscii(word[word.size() - 2]) != 's'))))
        word.remove_suffix(1);
    return word;
}

std::vector<std::string> RuleBases(RuleLanguage language, std::string_view word) {
    switch (language) {
        case RuleLanguage::English:
            return EnglishBases(word);
        case RuleLanguage::French:
            return FrenchBases(word);
        case RuleLanguage::German:
            return GermanBases(word);
        case RuleLanguage::Dutch:
            return EndingBases(word, kDutchEndings);
        case RuleLanguage::Other:
            break;
    }
    return {};
}
