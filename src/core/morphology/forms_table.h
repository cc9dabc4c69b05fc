// The forms a language's affix rules cannot derive (irregular verbs, contractions, merged
// prepositions): a user-editable <locale>.forms file of "form<TAB>base" lines in UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/morphology/file_finding.h"

// Longer lines are damage: no form and its base come near this.
constexpr std::size_t kMaxFormsLineBytes = 200;

// Forms and bases in the code page of the pair that reads them.
struct FormsTable {
    std::unordered_map<std::string, std::vector<std::string>> bases;  // in the file's order
};

// Reads the file's text into `table`, every form and base converted to `codePage`; a line
// the code page cannot hold is left out (a German table read for a Greek pair is no
// damage). Lines starting with '#' and blank lines are comments. What is damaged goes into
// `findings`, and the table is then empty: a table read in part would give base forms
// that depend on where the damage lies.
FormsTable ReadFormsTable(std::string_view text, unsigned codePage, const std::string& file,
                          std::vector<MorphologyFinding>& findings);

// The bases of `form`, none when the table has no line for it.
const std::vector<std::string>* BasesOf(const FormsTable& table, const std::string& form);
