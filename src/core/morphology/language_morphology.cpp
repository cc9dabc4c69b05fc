#include "core/morphology/language_morphology.h"

#include <hunspell.hxx>

#include <algorithm>

#include "core/morphology/dictionary_files.h"
#include "platform/platform.h"
#include "platform/text_convert.h"

namespace {

// Upper- and lower-case letters of the scripts the program's code pages hold, which the
// C library's case mapping knows only in a locale the program never sets.
wchar_t Lower(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x178) return 0xFF;  // Ÿ, whose small letter is in Latin-1
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x17F) {
        // Latin Extended-A pairs each capital with the letter after it, except in two runs.
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddCapitals ? (c % 2 == 1) : (c % 2 == 0)) return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

wchar_t Upper(wchar_t c) {
    // Each capital lies at one of the distances Lower adds, or is one of the odd ones.
    for (int distance : {0x20, 1, 0x25, 0x3F, 0x50, 0x26, 0x40}) {
        const wchar_t capital = static_cast<wchar_t>(c - distance);
        if (capital > 0 && Lower(capital) == c) return capital;
    }
    return c == 0xFF ? wchar_t{0x178} : c;
}

std::string WithInitial(const std::string& word, unsigned codePage, wchar_t (*change)(wchar_t)) {
    std::wstring wide;
    std::string out;
    if (word.empty() || !platform::ToWide(word, codePage, platform::Conversion::Exact, wide) || wide.empty())
        return word;
    const wchar_t changed = change(wide[0]);
    if (changed == wide[0]) return word;
    wide[0] = changed;
    if (!platform::FromWide(wide, codePage, platform::Conversion::Exact, out)) return word;
    return out;
}

// Converts between two code pages; false, and no text, when a character has no place in
// the other (such a word has no base form there).
bool Recode(const std::string& text, unsigned from, unsigned to, std::string& out) {
    if (from == to) {
        out = text;
        return true;
    }
    std::wstring wide;
    return platform::ToWide(text, from, platform::Conversion::Exact, wide) &&
           platform::FromWide(wide, to, platform::Conversion::Exact, out);
}

void AddOnce(std::vector<std::string>& out, const std::string& word, const std::string& besides) {
    if (word.empty() || word == besides) return;
    if (std::find(out.begin(), out.end(), word) == out.end()) out.push_back(word);
}

// Hunspell opens its files itself, with the C library, which takes '/' on both systems.
std::string HunspellPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace

std::string LowerInitial(const std::string& word, unsigned codePage) { return WithInitial(word, codePage, Lower); }
std::string UpperInitial(const std::string& word, unsigned codePage) { return WithInitial(word, codePage, Upper); }

std::vector<std::string> MorphologyNames(const std::string& locale) {
    std::string name;
    for (char c : locale) name += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
    std::vector<std::string> names{name};
    const std::size_t dash = name.find('-');
    if (dash != std::string::npos && dash > 0) names.push_back(name.substr(0, dash));
    return names;
}

std::optional<MorphologyFiles> FindMorphologyFiles(const std::string& directory, const std::string& locale) {
    for (const std::string& name : MorphologyNames(locale)) {
        const auto aff = platform::MakePath({directory, "\\", name, ".aff"});
        const auto dic = platform::MakePath({directory, "\\", name, ".dic"});
        const auto forms = platform::MakePath({directory, "\\", name, ".forms"});
        if (!aff || !dic || !forms) continue;
        MorphologyFiles files;
        if (platform::FileExists(*aff) && platform::FileExists(*dic)) {
            files.aff = *aff;
            files.dic = *dic;
        }
        if (platform::FileExists(*forms)) files.forms = *forms;
        if (!files.aff.empty() || !files.forms.empty()) return files;
    }
    return std::nullopt;
}

unsigned CheckMorphologyFiles(const MorphologyFiles& files, unsigned codePage, FormsTable& forms,
                              std::vector<MorphologyFinding>& findings) {
    std::string bytes;
    unsigned dictionaryCodePage = 0;
    if (!files.aff.empty()) {
        if (platform::ReadFileBytes(files.aff, bytes)) {
            AffixFileCheck affix = CheckAffixFile(bytes, files.aff);
            dictionaryCodePage = affix.codePage;
            findings.insert(findings.end(), affix.findings.begin(), affix.findings.end());
        } else {
            findings.push_back({files.aff, 0, "cannot be read"});
        }
        if (platform::ReadFileBytes(files.dic, bytes)) {
            for (MorphologyFinding& f : CheckWordsFile(bytes, files.dic)) findings.push_back(std::move(f));
        } else {
            findings.push_back({files.dic, 0, "cannot be read"});
        }
    }
    if (!files.forms.empty()) {
        if (platform::ReadFileBytes(files.forms, bytes))
            forms = ReadFormsTable(bytes, codePage, files.forms, findings);
        else
            findings.push_back({files.forms, 0, "cannot be read"});
    }
    return dictionaryCodePage;
}

LanguageMorphology::LanguageMorphology(const std::string& directory, const std::string& locale, unsigned codePage,
                                       std::vector<MorphologyFinding>& findings)
    : codePage_(codePage), rules_(RuleLanguageOf(locale)) {
    const std::optional<MorphologyFiles> files = FindMorphologyFiles(directory, locale);
    if (!files) return;
    const std::size_t foundBefore = findings.size();
    FormsTable forms;
    const unsigned dictionaryCodePage = CheckMorphologyFiles(*files, codePage, forms, findings);
    if (findings.size() != foundBefore) return;
    forms_ = std::move(forms);
    if (!files->aff.empty()) {
        hunspell_ = std::make_unique<Hunspell>(HunspellPath(files->aff).c_str(), HunspellPath(files->dic).c_str());
        dictionaryCodePage_ = dictionaryCodePage;
    }
}

LanguageMorphology::~LanguageMorphology() = default;

void LanguageMorphology::AddStems(const std::string& word, std::vector<std::string>& out) const {
    if (!hunspell_) return;
    std::string asDictionary, stem;
    if (!Recode(word, codePage_, dictionaryCodePage_, asDictionary)) return;
    for (const std::string& s : hunspell_->stem(asDictionary))
        if (Recode(s, dictionaryCodePage_, codePage_, stem)) AddOnce(out, stem, word);
}

std::vector<std::string> LanguageMorphology::BaseForms(const std::string& word) const {
    std::vector<std::string> bases;
    if (word.empty() || word.size() > kMaxInflectedChars) return bases;
    const std::string lower = LowerInitial(word, codePage_);
    // A contraction or possessive stands for a word that has base forms of its own ("isn't":
    // "is", then "be").
    std::vector<std::string> ruled = RuleBases(rules_, word);
    const std::vector<std::string> forms{word, lower};
    for (const std::string& w : ruled) AddOnce(bases, w, word);
    for (const std::string& w : ruled)
        if (const auto* b = BasesOf(forms_, w)) {
            for (const std::string& base : *b) AddOnce(bases, base, word);
        } else if (const auto* lb = BasesOf(forms_, LowerInitial(w, codePage_))) {
            for (const std::string& base : *lb) AddOnce(bases, base, word);
        }
    for (const std::string& f : forms)
        if (const auto* b = BasesOf(forms_, f))
            for (const std::string& base : *b) AddOnce(bases, base, word);
    AddStems(word, bases);
    for (const std::string& w : ruled) AddStems(w, bases);
    return bases;
}
