#include "core/catalogue/catalogue.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/catalogue/sort_table.h"
#include "core/strings/ui_strings.h"
#include "core/text/code_page.h"
#include "core/text/fixed_text.h"
#include "platform/file_writes.h"
#include "platform/lines.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/text_convert.h"

WordListDescriptor* CatalogueHead;
WordListDescriptor* CurrentPair;

namespace {

// The descriptors live for the whole run, or until the catalogue is built again; this owns them.
std::vector<std::unique_ptr<WordListDescriptor>> descriptors;

const char kTemporaryCatalogue[] = "tmp.ini";

// A catalogue line as the catalogue reads it: a longer line is cut, never split.
std::string CatalogueText(const TextLine& line) { return std::string(line.text.substr(0, kCatalogueLineChars)); }

std::string Trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return std::string(s.substr(b, e - b));
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = line.find(',', start);
        fields.push_back(Trimmed(std::string_view(line).substr(start, comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return fields;
}

std::string FirstThree(const std::string& name) { return name.substr(0, 3); }

using Descriptors = std::vector<std::unique_ptr<WordListDescriptor>>;

WordListDescriptor* NewDescriptor(Descriptors& list) {
    list.push_back(std::make_unique<WordListDescriptor>());
    WordListDescriptor* added = list.back().get();
    if (list.size() > 1) list[list.size() - 2]->next = added;
    return added;
}

void FillForwardPair(WordListDescriptor& f, const std::vector<std::string>& fields, const std::string& main) {
    const std::string& name = fields[0];
    std::string locale = fields.size() > 1 && !fields[1].empty() ? fields[1] : "english";
    std::string code = fields.size() > 2 && !fields[2].empty() ? fields[2] : "0";
    std::string longName = fields.size() > 3 ? fields[3] : "";

    f.charset1 = LeadingNumber(code);
    f.charset2 = UiNumber(UiKey::CharactersetCode);
    CopyText(f.locale, locale);
    CopyText(f.name1, name);
    CopyText(f.name2, main);
    const std::string stem = FirstThree(name) + "_" + FirstThree(main);
    CopyText(f.wordFileShort, stem + ".gk");
    CopyText(f.listFileShort, stem + ".ls");
    CopyText(f.icon1Short, FirstThree(name) + ".ico");
    CopyText(f.icon2Short, FirstThree(main) + ".ico");
    if (!longName.empty()) {
        CopyText(f.name1, longName);
        CopyText(f.wordFileLong, LongWordFileName(longName, main));
        CopyText(f.listFileLong, longName + "_" + main + ".ls");
        CopyText(f.icon1Long, LongIconName(longName));
        CopyText(f.icon2Long, LongIconName(main));
        CopyText(f.longName, longName);
    }
    f.hasSortTable = HasSortTable(f.name1);
}

// The reverse of a forward pair, built from the forward pair's names (which also
// serves language names of fewer than three letters).
void FillReversePair(WordListDescriptor& r, const WordListDescriptor& f, const std::string& main,
                     const std::string& shortName) {
    r.charset1 = UiNumber(UiKey::CharactersetCode);
    r.charset2 = f.charset1;
    CopyText(r.locale, Ui(UiKey::Locale));
    CopyText(r.name1, f.name2);
    CopyText(r.name2, f.name1);
    CopyText(r.icon1Short, f.icon2Short);
    CopyText(r.icon2Short, f.icon1Short);
    const std::string stem = FirstThree(main) + "_" + FirstThree(shortName);
    CopyText(r.wordFileShort, stem + ".gk");
    CopyText(r.listFileShort, stem + ".ls");
    if (f.longName[0] != '\0') {
        const std::string longName = f.longName;
        CopyText(r.wordFileLong, LongWordFileName(main, longName));
        CopyText(r.listFileLong, main + "_" + longName + ".ls");
        CopyText(r.icon1Long, LongIconName(main));
        CopyText(r.icon2Long, LongIconName(longName));
        CopyText(r.longName, longName);
    }
    r.hasSortTable = HasSortTable(r.name1);
}

// The catalogue read whole: a read error then changes nothing, and the file is closed
// before a new one takes its place, which Windows requires.
std::optional<std::string> ReadCatalogue() {
    std::string bytes;
    if (!platform::ReadFileBytes(Ui(UiKey::FilenameIni), bytes)) return std::nullopt;
    return bytes;
}

// Writes the catalogue with the line after the selection header replaced by `selection`,
// every other byte as it was, into the temporary file.
int WriteSelection(std::string_view catalogue, FILE* out, const std::string& selection) {
    const std::string header = Ui(UiKey::IniSelected);
    // A length of 0 would make every line a header and overwrite the whole file.
    std::size_t n = static_cast<std::size_t>(UiNumber(UiKey::IniSelectedLen));
    if (n == 0) n = header.size();
    bool replaceNext = false;
    std::string headerEnd;
    for (const TextLine& line : SplitLines(catalogue)) {
        std::string written;
        if (replaceNext) {
            written = selection;
            written += line.end.empty() ? std::string_view(headerEnd) : line.end;
            replaceNext = false;
        } else {
            written = std::string(line.text) + std::string(line.end);
            if (PrefixEqualsIgnoringAsciiCase(line.text, header, n)) {
                replaceNext = true;
                headerEnd = line.end.empty() ? "\n" : std::string(line.end);
                if (line.end.empty()) written += headerEnd;
            }
        }
        if (!platform::WriteBytes(out, written.data(), written.size())) return -1;
    }
    // A header on the last line still gets its selection line.
    if (replaceNext) {
        std::string written = selection + headerEnd;
        if (!platform::WriteBytes(out, written.data(), written.size())) return -1;
    }
    return 0;
}

}  // namespace

int BuildCatalogue() {
    const std::string main = Ui(UiKey::MainLanguage);
    const auto catalogue = ReadCatalogue();
    if (!catalogue) return -1;

    Descriptors built;                    // the catalogue in use stays until this one is whole
    std::vector<std::string> shortNames;  // the first field of every language line
    bool inLanguages = false;
    for (const TextLine& line : SplitLines(*catalogue)) {
        const std::string text = CatalogueText(line);
        if (text.empty() || text[0] == '#') {
            inLanguages = false;
            continue;
        }
        std::vector<std::string> fields = SplitFields(text);
        // A repeated header opens the section again rather than naming a language.
        if (EqualsIgnoringAsciiCase(inLanguages ? fields[0] : text, Ui(UiKey::IniLanguage))) {
            inLanguages = true;
            continue;
        }
        if (!inLanguages || fields[0].empty()) continue;
        FillForwardPair(*NewDescriptor(built), fields, main);
        shortNames.push_back(fields[0]);
    }
    if (shortNames.empty()) return -1;

    const std::size_t forwardCount = built.size();
    for (std::size_t i = 0; i < forwardCount; ++i)
        FillReversePair(*NewDescriptor(built), *built[i], main, shortNames[i]);
    descriptors = std::move(built);
    CatalogueHead = descriptors.front().get();
    CurrentPair = descriptors[forwardCount].get();
    return 0;
}

int ReadSelectedPair() {
    const auto catalogue = ReadCatalogue();
    if (!catalogue) return -1;
    bool inSelection = false;
    for (const TextLine& line : SplitLines(*catalogue)) {
        const std::string text = CatalogueText(line);
        if (text.empty() || text[0] == '#') {
            inSelection = false;
            continue;
        }
        if (inSelection) {
            for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
                if (EqualsIgnoringAsciiCase(text, d->wordFileLong) || EqualsIgnoringAsciiCase(text, d->wordFileShort)) {
                    for (WordListDescriptor* o = CatalogueHead; o; o = o->next) o->selected = 0;
                    d->selected = 1;
                    CurrentPair = d;
                    inSelection = false;
                    break;
                }
            }
        }
        if (EqualsIgnoringAsciiCase(text, Ui(UiKey::IniSelected))) inSelection = true;
    }
    return 0;
}

int SaveSelection(const WordListDescriptor& pair) {
    const auto catalogue = ReadCatalogue();
    if (!catalogue) return -1;
    const int result = platform::ReplaceFile(Ui(UiKey::FilenameIni), kTemporaryCatalogue, [&](FILE* out) {
        return WriteSelection(*catalogue, out, WordFileName(pair)) == 0;
    });
    return result == 0 ? 0 : -1;
}

CatalogueWrite AddLanguageLine(const std::string& languageLine) {
    const auto catalogue = ReadCatalogue();
    if (!catalogue) return CatalogueWrite::NoCatalogue;
    bool added = false, wrote = false;
    const int result = platform::ReplaceFile(Ui(UiKey::FilenameIni), kTemporaryCatalogue, [&](FILE* out) {
        wrote = true;
        bool inLanguages = false, ok = true, endsWithBreak = true;
        std::string lastEnd = "\n";
        auto write = [&](const std::string& text) { ok = ok && platform::WriteBytes(out, text.data(), text.size()); };
        for (const TextLine& line : SplitLines(*catalogue)) {
            const std::string text = CatalogueText(line);
            // The section ends where the catalogue stops reading it: the new line goes there.
            if (inLanguages && (text.empty() || text[0] == '#')) {
                write(languageLine + (line.end.empty() ? lastEnd : std::string(line.end)));
                inLanguages = false;
                added = true;
            }
            if (!line.end.empty()) lastEnd = std::string(line.end);
            endsWithBreak = !line.end.empty();
            if (!added && EqualsIgnoringAsciiCase(text, Ui(UiKey::IniLanguage))) inLanguages = true;
            write(std::string(line.text) + std::string(line.end));
        }
        if (inLanguages) {  // the section runs to the end of the file
            write((endsWithBreak ? "" : lastEnd) + languageLine + lastEnd);
            added = true;
        }
        return ok && added;
    });
    if (result == 0) return CatalogueWrite::Done;
    // No section to add to, or the catalogue unreadable, is the catalogue's fault; the rest the temporary file's.
    return wrote && !added ? CatalogueWrite::NoCatalogue : CatalogueWrite::NoTemporary;
}

std::string LongWordFileName(const std::string& first, const std::string& second) {
    return first + "_" + second + ".gk";
}

std::string LongIconName(const std::string& language) { return language + ".ico"; }

std::optional<std::string> WordFilePath(const WordListDescriptor& pair) {
    return platform::MakePath({Ui(UiKey::PathLanguage), WordFileName(pair)});
}

const char* WordFileName(const WordListDescriptor& pair) {
    return pair.longName[0] ? pair.wordFileLong : pair.wordFileShort;
}

const char* ListFileName(const WordListDescriptor& pair) {
    return pair.longName[0] ? pair.listFileLong : pair.listFileShort;
}

const char* Icon1Name(const WordListDescriptor& pair) { return pair.longName[0] ? pair.icon1Long : pair.icon1Short; }

const char* Icon2Name(const WordListDescriptor& pair) { return pair.longName[0] ? pair.icon2Long : pair.icon2Short; }

WordListDescriptor* ReversePair(const WordListDescriptor& pair) {
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next)
        if (std::strcmp(d->name2, pair.name1) == 0 && std::strcmp(d->name1, pair.name2) == 0) return d;
    return nullptr;
}

int PairCount() { return static_cast<int>(descriptors.size()); }

std::string LanguageNameUtf8(const char* name) {
    std::string utf8;
    const unsigned codePage = CodePageOfCharset(UiNumber(UiKey::CharactersetCode));
    return platform::CodePageToUtf8(name, codePage, utf8) ? utf8 : std::string(name);
}

WordListDescriptor* PairOfMenuId(int id) {
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next)
        if (d->menuId == id) return d;
    return nullptr;
}

WordListDescriptor* PairAt(int position) {
    return position >= 0 && position < PairCount() ? descriptors[static_cast<std::size_t>(position)].get() : nullptr;
}

int PairPosition(const WordListDescriptor* pair) {
    for (std::size_t i = 0; i < descriptors.size(); ++i)
        if (descriptors[i].get() == pair) return static_cast<int>(i);
    return -1;
}
