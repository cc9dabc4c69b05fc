// Exporting the current pair's words to another program's file.
#include "core/catalogue/catalogue.h"
#include "core/exchange/exchange.h"
#include "core/exchange/field_text.h"
#include "core/exchange/freedict.h"
#include "core/exchange/import_files.h"
#include "core/exchange/kvtml.h"
#include "core/exchange/text_formats.h"
#include "core/text/code_page.h"
#include "core/text/fixed_text.h"
#include "platform/replace_file.h"

int ExportCurrentPair(const std::string& path, std::optional<ExchangeFormat> format, std::string& error) {
    if (!CurrentPair) {
        error = "there is no language pair";
        return -1;
    }
    if (!(format = FormatFor(path, format, "", error))) return -1;
    std::vector<WordRecord> records;
    std::string bytes;
    if (!LoadWordFile(*CurrentPair, records, bytes, error)) return -1;
    const bool utf8 = FormatIsUtf8(*format);
    const unsigned wordPage = CodePageOfCharset(CurrentPair->charset1);
    const unsigned translationPage = CodePageOfCharset(CurrentPair->charset2);
    std::vector<ForeignEntry> entries;
    entries.reserve(records.size());
    for (const WordRecord& r : records) {
        ForeignEntry e{0, r.word, r.translation, {}, {}};
        if (utf8 && (!ToUtf8(r.word, wordPage, e.word) || !ToUtf8(r.translation, translationPage, e.translation))) {
            error = "the code page of the pair cannot be converted";
            return -1;
        }
        entries.push_back(std::move(e));
    }
    const std::string first = LanguageNameUtf8(CurrentPair->name1), second = LanguageNameUtf8(CurrentPair->name2);
    std::string text;
    int result = 0;
    switch (*format) {
        case ExchangeFormat::Tsv:
            text = WriteDelimited(entries, '\t');
            break;
        case ExchangeFormat::Csv:
            text = WriteDelimited(entries, ',');
            break;
        case ExchangeFormat::Anki:
            text = WriteAnki(entries, first, second);
            break;
        case ExchangeFormat::Kvtml:
            if (!WriteKvtml(entries, first, second, text, error)) return -1;
            break;
        case ExchangeFormat::FreeDict: {
            std::string dict;
            WriteFreeDict(entries, first, second, text, dict);
            const bool index = path.size() > 6 && EqualsIgnoringAsciiCase(path.substr(path.size() - 6), ".index");
            const std::string dictPath = (index ? path.substr(0, path.size() - 6) : path) + ".dict";
            if (platform::ReplaceFileWith(dictPath, dict) != 0) {
                error = "cannot write " + dictPath;
                return -1;
            }
            break;
        }
    }
    result = platform::ReplaceFileWith(path, text);
    if (result != 0) {
        error = "cannot write " + path;
        return -1;
    }
    return static_cast<int>(entries.size());
}
