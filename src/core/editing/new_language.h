// A language of the user's own: its catalogue line, the two empty word files of its pairs
// and its icon.
#pragma once

#include <cstddef>
#include <string>

#include "core/catalogue/catalogue.h"

enum class NewLanguageProblem { None, EmptyName, NotAllowed, Exists };

// Checks a name typed for a new language (blanks around it trimmed). Refused: the main
// language, and names that cannot name files or be read back from the catalogue (a comma,
// a character Windows forbids in file names, a trailing full stop, a line or path too
// long). `existing` gets the catalogue's own spelling of a name it has already, or of the
// language whose files (word files, list files, icon) the name's would be.
NewLanguageProblem CheckNewLanguageName(const std::string& name, const std::string& locale, int code,
                                        std::string& existing);

// "longname,<locale>,<code>,<name>": the name is the long name, which names the files.
std::string NewLanguageLine(const std::string& locale, int code, const std::string& name);

struct NewLanguageResult {
    CatalogueWrite catalogue = CatalogueWrite::Done;
    int wordFilesFailed = 0;
    bool iconFailed = false;
};

// Adds the line, then creates main_name.gk and name_main.gk empty (a file of that name
// already there is kept as it is) and writes the icon; each step runs whatever became of
// the one before.
NewLanguageResult CreateNewLanguage(const std::string& name, const std::string& locale, int code, const void* icon,
                                    std::size_t iconSize);
