#include "core/exchange/header_row.h"

#include "core/catalogue/catalogue.h"
#include "core/exchange/field_text.h"
#include "core/text/fixed_text.h"

namespace {

// A name as a spreadsheet's header cell gives it: blanks around it do not count.
std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

bool NamesLanguage(std::string_view field, const char* name) {
    return name[0] != '\0' && EqualsIgnoringAsciiCase(Trimmed(field), LanguageNameUtf8(name));
}

}  // namespace

void TakeHeaderRow(ForeignFile& file, const WordListDescriptor& pair, ImportReport& report) {
    if (file.entries.empty()) return;
    const ForeignEntry& first = file.entries.front();
    const int line = first.line;
    if (NamesLanguage(first.word, pair.name1) && NamesLanguage(first.translation, pair.name2)) {
        report.languages = "line " + std::to_string(line) + " names the columns " + LanguageNameUtf8(pair.name1) +
                           " and " + LanguageNameUtf8(pair.name2);
        file.entries.erase(file.entries.begin());
        return;
    }
    if (NamesLanguage(first.word, pair.name2) && NamesLanguage(first.translation, pair.name1)) {
        report.languages = "line " + std::to_string(line) + " names the columns " + LanguageNameUtf8(pair.name2) +
                           " and " + LanguageNameUtf8(pair.name1) + ": each word is taken from the second column";
        file.entries.erase(file.entries.begin());
        for (ForeignEntry& e : file.entries) e.word.swap(e.translation);
        return;
    }
    bool word = false, translation = false;
    for (const WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        word = word || NamesLanguage(first.word, d->name1);
        translation = translation || NamesLanguage(first.translation, d->name1);
    }
    if (word && translation)
        file.entries.front().refused = "the columns are titled " + Quoted(Trimmed(first.word), file.utf8) + " and " +
                                       Quoted(Trimmed(first.translation), file.utf8) + ", not " +
                                       LanguageNameUtf8(pair.name1) + " and " + LanguageNameUtf8(pair.name2) +
                                       " as this pair's";
}
