#include "core/editing/new_language.h"

#include <cstdio>
#include <optional>

#include "core/catalogue/catalogue.h"
#include "core/strings/ui_strings.h"
#include "core/text/file_names.h"
#include "core/text/fixed_text.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace {

constexpr std::size_t kMaxNameChars = 98;

std::optional<std::string> WordFile(const std::string& first, const std::string& second) {
    return platform::MakePath({Ui(UiKey::PathLanguage), LongWordFileName(first, second)});
}

std::optional<std::string> IconFile(const std::string& name) {
    return platform::MakePath({Ui(UiKey::PathIcons), LongIconName(name)});
}

bool CanNameFiles(const std::string& name) {
    // The comma separates the fields of the catalogue line.
    if (name.size() > kMaxNameChars || name.find(',') != std::string::npos || !CanNameWindowsFile(name)) return false;
    const std::string main = Ui(UiKey::MainLanguage);
    return WordFile(main, name) && WordFile(name, main) && IconFile(name);
}

// A word file of that name left from before (the line taken out of the catalogue by hand)
// keeps its words: opening it for appending creates it without cutting it.
bool CreateEmpty(const std::optional<std::string>& path) {
    FILE* file = path ? platform::OpenFile(*path, "ab") : nullptr;
    return file && platform::CloseFile(file);
}

// The language of the catalogue whose word file, list file or icon a new language `name`
// would take, as the file system compares names; none when they are all free.
const char* OwnerOfFiles(const std::string& name, const std::string& main) {
    const std::string wordFiles[] = {LongWordFileName(main, name), LongWordFileName(name, main)};
    const std::string listFiles[] = {main + "_" + name + ".ls", name + "_" + main + ".ls"};
    const std::string icon = LongIconName(name);
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        const char* language = EqualsIgnoringAsciiCase(d->name1, main) ? d->name2 : d->name1;
        for (const std::string& file : wordFiles)
            if (platform::SameFileName(file, WordFileName(*d))) return language;
        for (const std::string& file : listFiles)
            if (platform::SameFileName(file, ListFileName(*d))) return language;
        // Its first icon is its first language's: the main language's in a reverse pair.
        if (platform::SameFileName(icon, Icon1Name(*d))) return d->name1;
    }
    return nullptr;
}

}  // namespace

NewLanguageProblem CheckNewLanguageName(const std::string& name, const std::string& locale, int code,
                                        std::string& existing) {
    if (name.empty()) return NewLanguageProblem::EmptyName;
    if (EqualsIgnoringAsciiCase(name, Ui(UiKey::MainLanguage))) return NewLanguageProblem::NotAllowed;
    if (!CanNameFiles(name) || NewLanguageLine(locale, code, name).size() > kCatalogueLineChars)
        return NewLanguageProblem::NotAllowed;
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        if (EqualsIgnoringAsciiCase(name, d->name1)) {
            existing = d->name1;
            return NewLanguageProblem::Exists;
        }
    }
    // "Eng" beside english would write over eng.ico; "ESPA\xD1OL" beside espa\xF1ol would share
    // its word files, which the file system tells apart only by case.
    if (const char* owner = OwnerOfFiles(name, Ui(UiKey::MainLanguage))) {
        existing = owner;
        return NewLanguageProblem::Exists;
    }
    return NewLanguageProblem::None;
}

std::string NewLanguageLine(const std::string& locale, int code, const std::string& name) {
    return "longname," + locale + "," + std::to_string(code) + "," + name;
}

NewLanguageResult CreateNewLanguage(const std::string& name, const std::string& locale, int code, const void* icon,
                                    std::size_t iconSize) {
    NewLanguageResult result;
    result.catalogue = AddLanguageLine(NewLanguageLine(locale, code, name));
    const std::string main = Ui(UiKey::MainLanguage);
    for (const auto& path : {WordFile(main, name), WordFile(name, main)})
        if (!CreateEmpty(path)) ++result.wordFilesFailed;
    const std::optional<std::string> iconPath = IconFile(name);
    auto writeIcon = [&](FILE* out) { return platform::WriteBytes(out, icon, iconSize); };
    // Written beside its place first: a failed write leaves no half icon.
    result.iconFailed = !iconPath || !icon || platform::ReplaceFile(*iconPath, *iconPath + ".tmp", writeIcon) != 0;
    return result;
}
