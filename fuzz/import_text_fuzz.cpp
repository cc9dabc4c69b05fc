// Separated text (tab, comma, or as the file names or shows) and the flashcard program's
// text export, as another program hands them over. Input: the file. Entries come in line
// order, and whatever the separated reader takes, written back as the export writes it
// reads back the same.
#include "core/exchange/text_formats.h"
#include "fuzz_support.h"

namespace {

bool Blank(const std::string& field) { return field.find_first_not_of(" \t") == std::string::npos; }

void CheckLines(const ForeignFile& file, const std::string& detail) {
    for (std::size_t i = 1; i < file.entries.size(); ++i)
        FUZZ_CHECK(file.entries[i - 1].line < file.entries[i].line, detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string detail = Shown(text);
    ForeignFile file;
    std::string error;
    if (ReadAnki(text, file, error)) CheckLines(file, detail);
    // 0: the separator the file names or shows.
    for (char given : {'\t', ',', '\0'}) {
        if (!ReadDelimited(text, given, file, error)) {
            FUZZ_CHECK(error.rfind("line ", 0) == 0, detail + "\nerror: " + error);
            continue;
        }
        CheckLines(file, detail);
        const char separator = file.separator;
        FUZZ_CHECK(given == '\0' || separator == given, detail);
        // An entry of blanks is read as an empty line, and a byte-order mark at the very start
        // is taken as one: neither can come back.
        std::vector<ForeignEntry> kept;
        for (const ForeignEntry& e : file.entries)
            if (!(Blank(e.word) && Blank(e.translation))) kept.push_back(e);
        if (!kept.empty() && kept[0].word.rfind("\xEF\xBB\xBF", 0) == 0) continue;
        ForeignFile again;
        const std::string written = WriteDelimited(kept, separator);
        FUZZ_CHECK(ReadDelimited(written, separator, again, error), detail + "\nwritten: " + Shown(written));
        FUZZ_CHECK(again.entries.size() == kept.size(), detail + "\nwritten: " + Shown(written));
        for (std::size_t i = 0; i < kept.size(); ++i)
            FUZZ_CHECK(again.entries[i].word == kept[i].word && again.entries[i].translation == kept[i].translation,
                       detail + "\nwritten: " + Shown(written));
    }
    return 0;
}
