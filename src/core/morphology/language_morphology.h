// One language's morphology: its Hunspell dictionary, its table of forms and its rules,
// giving the base forms of a word in the pair's code page. The dictionary's own encoding
// (its SET line) is met here and nowhere else.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/morphology/file_finding.h"
#include "core/morphology/forms_table.h"
#include "core/morphology/word_rules.h"

class Hunspell;

// Where the dictionaries lie, in the working directory.
inline constexpr const char* kMorphologyDirectory = "morphology";

// A word longer than this gets no base forms: no headword (at most 30 characters) is the
// base of one, and Hunspell's work grows with the word.
constexpr std::size_t kMaxInflectedChars = 40;

// The names a language's files go by: the locale name, then its language before a '-'
// ("german-swiss", then "german").
std::vector<std::string> MorphologyNames(const std::string& locale);

// A language's files in the morphology directory; a missing one's name is empty.
struct MorphologyFiles {
    std::string aff, dic;  // both or neither
    std::string forms;
};
// The files of the first of MorphologyNames(locale) that has any; none when no name has.
std::optional<MorphologyFiles> FindMorphologyFiles(const std::string& directory, const std::string& locale);
// Reads and checks the files for a pair whose words are in `codePage`: what is wrong goes
// into `findings`, the table of forms into `forms`. The code page of the dictionary's SET.
unsigned CheckMorphologyFiles(const MorphologyFiles& files, unsigned codePage, FormsTable& forms,
                              std::vector<MorphologyFinding>& findings);

class LanguageMorphology {
public:
    // Reads <directory>\<name>.aff, .dic and .forms of the first of MorphologyNames(locale)
    // that has any of them, for a pair whose words are in `codePage`. Missing files mean
    // fewer base forms; a damaged one (reported in `findings`) means none but the rules'.
    LanguageMorphology(const std::string& directory, const std::string& locale, unsigned codePage,
                       std::vector<MorphologyFinding>& findings);
    ~LanguageMorphology();
    LanguageMorphology(const LanguageMorphology&) = delete;
    LanguageMorphology& operator=(const LanguageMorphology&) = delete;

    // The base forms of `word`, most likely first, each once and none equal to the word.
    std::vector<std::string> BaseForms(const std::string& word) const;
    // Whether the final part of a compound may stand for the word (German and Dutch write
    // compounds as one word).
    bool SplitsCompounds() const { return rules_ == RuleLanguage::German || rules_ == RuleLanguage::Dutch; }
    unsigned CodePage() const { return codePage_; }
    bool HasDictionary() const { return hunspell_ != nullptr; }
    std::size_t FormCount() const { return forms_.bases.size(); }

private:
    void AddStems(const std::string& word, std::vector<std::string>& out) const;

    unsigned codePage_;
    unsigned dictionaryCodePage_ = 0;
    RuleLanguage rules_;
    std::unique_ptr<Hunspell> hunspell_;
    FormsTable forms_;
};

// The word with its first letter in lower case (for a form written at the start of a
// sentence); the word itself when that letter has no lower case.
std::string LowerInitial(const std::string& word, unsigned codePage);
// The word with its first letter in upper case (a German noun's final part).
std::string UpperInitial(const std::string& word, unsigned codePage);
