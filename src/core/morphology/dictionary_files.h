// A Hunspell dictionary's two files (.aff rules, .dic words) looked over before Hunspell
// reads them: Hunspell trusts its files, so damage that would mislead or stop it is found
// here, and the language then does without base forms.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/morphology/file_finding.h"

// Hunspell reads lines of any length; a dictionary's real lines are far shorter than this,
// and a longer one is damage (or a file that is no dictionary).
constexpr std::size_t kMaxDictionaryLineBytes = 4096;

// The Windows code page of a SET name of an .aff file ("UTF-8", "ISO8859-7", "KOI8-R",
// "microsoft-cp1251"); 0 for a name Hunspell does not know.
unsigned CodePageOfDictionarySet(std::string_view set);

struct AffixFileCheck {
    unsigned codePage = 0;  // of the SET line, or ISO 8859-1 as Hunspell takes it without one
    std::vector<MorphologyFinding> findings;
};
// `file` names the file in the findings.
AffixFileCheck CheckAffixFile(std::string_view bytes, const std::string& file);
std::vector<MorphologyFinding> CheckWordsFile(std::string_view bytes, const std::string& file);
