#include "core/exchange/exchange.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "core/catalogue/catalogue.h"
#include "core/editing/add_words.h"
#include "core/store/collation.h"
#include "core/store/sorting.h"
#include "core/text/code_page.h"
#include "core/text/fixed_text.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/text_convert.h"

namespace {

bool ReadBytes(const std::string& path, std::string& bytes) {
    FILE* in = platform::OpenFile(path, "rb");
    if (!in) return false;
    const std::int64_t size = platform::FileSize(in);
    bool read = size >= 0;
    if (read) {
        bytes.resize(static_cast<std::size_t>(size));
        read = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    }
    std::fclose(in);
    return read;
}

int WriteWholeFile(const std::string& path, const std::string& bytes) {
    return platform::ReplaceFile(path, path + ".tmp",
                                 [&](FILE* out) { return platform::WriteBytes(out, bytes.data(), bytes.size()); });
}

std::string Folded(std::string_view word) {
    std::string key(word);
    for (char& c : key) c = FoldAscii(c);
    return key;
}

// The pieces of a normalised translation ("a, b, c").
std::vector<std::string> Pieces(const std::string& translation) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0; start < translation.size();) {
        std::size_t comma = translation.find(", ", start);
        if (comma == std::string::npos) comma = translation.size();
        pieces.push_back(translation.substr(start, comma - start));
        start = comma + 2;
    }
    return pieces;
}

std::string Joined(const std::vector<std::string>& pieces) {
    std::string text;
    for (const std::string& piece : pieces) text += (text.empty() ? "" : ", ") + piece;
    return text;
}

// What another program's field becomes before it is stored: runs of white space as one
// blank in a word; line breaks as commas (one translation each) in a translation.
std::string FieldText(std::string_view text, bool translation) {
    std::string out;
    for (char c : text) {
        if (translation && (c == '\n' || c == '\r')) c = ',';
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    return TrimBlanks(out);
}

// The first character of UTF-8 text that the code page lacks, for the report.
std::string MissingCharacter(std::string_view utf8, unsigned codePage) {
    std::string converted;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = 1;
        while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
        if (!platform::Utf8ToCodePage(utf8.substr(i, n), codePage, converted)) return std::string(utf8.substr(i, n));
        i += n;
    }
    return std::string();
}

// The records of a word file by their word, the letters A-Z in either case being the
// same, as the add window matches a typed word.
class WordTable {
public:
    explicit WordTable(std::vector<WordRecord>& records) : records_(records) {
        for (std::size_t i = 0; i < records.size(); ++i) index_.emplace(Folded(records[i].word), i);
    }
    WordRecord* Find(const std::string& word) {
        const auto found = index_.find(Folded(word));
        return found == index_.end() ? nullptr : &records_[found->second];
    }
    void Add(const std::string& word, const std::string& translation) {
        WordRecord record{};
        SetWord(record, word);
        SetTranslation(record, translation);
        index_.emplace(Folded(word), records_.size());
        records_.push_back(record);
    }

private:
    std::vector<WordRecord>& records_;
    std::unordered_map<std::string, std::size_t> index_;
};

// Adds the pieces a record's translation does not list yet, as far as they fit; the
// pieces without room are returned.
std::vector<std::string> MergePieces(WordRecord& record, const std::vector<std::string>& pieces, int& added) {
    std::vector<std::string> current = Pieces(record.translation);
    std::string text = record.translation;
    std::vector<std::string> full;
    added = 0;
    for (const std::string& piece : pieces) {
        bool listed = false;
        for (const std::string& c : current) listed = listed || EqualsIgnoringAsciiCase(c, piece);
        if (listed) continue;
        const std::string longer = text.empty() ? piece : text + ", " + piece;
        if (longer.size() > kMaxTranslationChars) {
            full.push_back(piece);
            continue;
        }
        text = longer;
        current.push_back(piece);
        ++added;
    }
    if (added) SetTranslation(record, text);
    return full;
}

// The live records of a word file; a file that is not there has none.
bool LoadWordFile(const WordListDescriptor& pair, std::vector<WordRecord>& records, std::string& bytes,
                  std::string& error) {
    const std::optional<std::string> path = WordFilePath(pair);
    if (!path) {
        error = "the word file's path is too long";
        return false;
    }
    bytes.clear();
    if (platform::FileExists(*path) && !ReadBytes(*path, bytes)) {
        error = "cannot read " + *path;
        return false;
    }
    records.clear();
    records.reserve(bytes.size() / sizeof(WordRecord));
    for (std::size_t at = 0; at + sizeof(WordRecord) <= bytes.size(); at += sizeof(WordRecord)) {
        WordRecord record;
        std::memcpy(&record, bytes.data() + at, sizeof record);
        TerminateFields(record);
        if (!IsDeleted(record)) records.push_back(record);
    }
    return true;
}

std::string Utf8Name(const char* name) {
    std::string utf8;
    return platform::CodePageToUtf8(name, 1252, utf8) ? utf8 : std::string(name);
}

bool ReadForeignFile(const std::string& path, ExchangeFormat format, const ImportOptions& options,
                     const WordListDescriptor& pair, ForeignFile& file, std::string& error) {
    std::string text;
    if (!ReadBytes(path, text)) {
        error = "cannot read " + path;
        return false;
    }
    switch (format) {
        case ExchangeFormat::Tsv:
            return ReadDelimited(text, '\t', file, error);
        case ExchangeFormat::Csv:
            return ReadDelimited(text, ',', file, error);
        case ExchangeFormat::Anki:
            return ReadAnki(text, file, error);
        case ExchangeFormat::Kvtml:
            return ReadKvtml(text, options.first.empty() ? Utf8Name(pair.name1) : options.first,
                             options.second.empty() ? Utf8Name(pair.name2) : options.second, file, error);
        case ExchangeFormat::FreeDict: {
            // The definitions lie beside the index, compressed or not.
            const bool index = path.size() > 6 && EqualsIgnoringAsciiCase(path.substr(path.size() - 6), ".index");
            const std::string stem = index ? path.substr(0, path.size() - 6) : path;
            std::string packed, dict;
            const bool plain = !platform::FileExists(stem + ".dict.dz");
            if (!ReadBytes(stem + (plain ? ".dict" : ".dict.dz"), packed)) {
                error = "cannot read " + stem + ".dict.dz (nor " + stem + ".dict)";
                return false;
            }
            if (!Gunzip(packed, dict, error)) return false;
            return ReadFreeDict(text, dict, file, error);
        }
    }
    return false;
}

std::optional<ExchangeFormat> FormatFor(const std::string& path, std::optional<ExchangeFormat> format,
                                        const std::string& head, std::string& error) {
    if (format) return format;
    format = FormatOfFile(path, head);
    if (!format) error = "the format of " + path + " is not known by its name; give it with --format";
    return format;
}

}  // namespace

bool PlanImport(const std::string& path, const ImportOptions& options, ImportPlan& plan, std::string& error) {
    plan = ImportPlan{};
    if (!CurrentPair) {
        error = "there is no language pair";
        return false;
    }
    plan.pair = CurrentPair;
    plan.reverse = ReversePair(*CurrentPair);
    std::string head;
    if (FILE* in = platform::OpenFile(path, "rb")) {
        head.resize(64);
        head.resize(std::fread(head.data(), 1, head.size(), in));
        std::fclose(in);
    }
    const std::optional<ExchangeFormat> format = FormatFor(path, options.format, head, error);
    if (!format) return false;
    ForeignFile file;
    if (!ReadForeignFile(path, *format, options, *plan.pair, file, error)) {
        error = path + ": " + error;
        return false;
    }
    std::string ignored;
    if (!LoadWordFile(*plan.pair, plan.forward, plan.forwardBefore, error)) return false;
    if (plan.reverse && !LoadWordFile(*plan.reverse, plan.backward, ignored, error)) return false;

    ImportReport& report = plan.report;
    report.file = path;
    report.format = *format;
    report.languages = file.languages;
    report.entries = static_cast<int>(file.entries.size());
    const unsigned wordPage = CodePageOfCharset(plan.pair->charset1);
    const unsigned translationPage = CodePageOfCharset(plan.pair->charset2);
    WordTable forward(plan.forward), backward(plan.backward);
    for (const ForeignEntry& entry : file.entries) {
        auto problem = [&](const std::string& message) { report.problems.push_back({entry.line, message}); };
        auto skip = [&](const std::string& message) {
            problem(message);
            ++report.skipped;
        };
        const std::string shownWord = "\"" + FieldText(entry.word, false) + "\"";
        std::string word = FieldText(entry.word, false);
        std::string translation = NormaliseTranslation(FieldText(entry.translation, true));
        if (word.empty()) {
            skip("the word is empty");
            continue;
        }
        if (translation.empty()) {
            skip(shownWord + ": the translation is empty");
            continue;
        }
        if (word.find(',') != std::string::npos) {
            skip(shownWord + ": a comma in the word");
            continue;
        }
        if (file.utf8) {
            std::string converted;
            if (!platform::Utf8ToCodePage(word, wordPage, converted)) {
                skip(shownWord + ": \"" + MissingCharacter(word, wordPage) + "\" is not in the code page of " +
                     Utf8Name(plan.pair->name1));
                continue;
            }
            word = converted;
            if (!platform::Utf8ToCodePage(translation, translationPage, converted)) {
                skip(shownWord + ": \"" + MissingCharacter(translation, translationPage) +
                     "\" in the translation is not in the code page of " + Utf8Name(plan.pair->name2));
                continue;
            }
            translation = converted;
        }
        if (word.size() > kMaxWordChars) {
            skip(shownWord + ": the word has more than 30 characters");
            continue;
        }
        std::vector<std::string> pieces = Pieces(translation);
        if (translation.size() > kMaxTranslationChars) {
            // Kept up to the last whole translation that fits.
            std::size_t kept = 0, length = 0;
            while (kept < pieces.size() && length + (kept ? 2 : 0) + pieces[kept].size() <= kMaxTranslationChars) {
                length += (kept ? 2 : 0) + pieces[kept].size();
                ++kept;
            }
            if (kept == 0) {
                skip(shownWord + ": the translation has more than 50 characters, even its first part");
                continue;
            }
            problem(shownWord + ": the translation has more than 50 characters; kept its first " +
                    std::to_string(kept) + " of " + std::to_string(pieces.size()) + " parts");
            pieces.resize(kept);
        }
        if (WordRecord* record = forward.Find(word)) {
            int added = 0;
            for (const std::string& piece : MergePieces(*record, pieces, added))
                problem(shownWord + ": no room for \"" + piece + "\" in the word's translation");
            ++(added ? report.merged : report.unchanged);
            plan.forwardChanged = plan.forwardChanged || added > 0;
        } else {
            forward.Add(word, Joined(pieces));
            ++report.added;
            plan.forwardChanged = true;
        }
        // Each translation becomes a word of the reverse pair, or lists this word there.
        if (!plan.reverse) continue;
        for (const std::string& piece : pieces) {
            if (piece.size() > kMaxWordChars) continue;
            if (WordRecord* record = backward.Find(piece)) {
                int added = 0;
                MergePieces(*record, {word}, added);
                report.reverseMerged += added;
                plan.backwardChanged = plan.backwardChanged || added > 0;
            } else {
                backward.Add(piece, word);
                ++report.reverseAdded;
                plan.backwardChanged = true;
            }
        }
    }
    return true;
}

bool ApplyImport(ImportPlan& plan, std::string& error) {
    WordListDescriptor* current = CurrentPair;
    const std::optional<std::string> forwardPath = WordFilePath(*plan.pair);
    const std::optional<std::string> backwardPath = plan.reverse ? WordFilePath(*plan.reverse) : std::nullopt;
    if (!forwardPath || (plan.reverse && !backwardPath)) {
        error = "the word file's path is too long";
        return false;
    }
    const bool forwardExisted = platform::FileExists(*forwardPath);
    bool done = true;
    try {
        if (plan.forwardChanged) {
            SetCollation(*plan.pair, LocaleReport::Silent);
            SortRecords(plan.forward);
        }
        if (plan.backwardChanged) {
            SetCollation(*plan.reverse, LocaleReport::Silent);
            SortRecords(plan.backward);
        }
    } catch (...) {
        error = "there is not enough memory to sort the words";
        done = false;
    }
    auto bytesOf = [](const std::vector<WordRecord>& records) {
        return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WordRecord));
    };
    if (done && plan.forwardChanged && WriteWholeFile(*forwardPath, bytesOf(plan.forward)) != 0) {
        error = "cannot write " + *forwardPath + "; nothing was imported";
        done = false;
    } else if (done && plan.backwardChanged && WriteWholeFile(*backwardPath, bytesOf(plan.backward)) != 0) {
        error = "cannot write " + *backwardPath + "; nothing was imported";
        // The pair's own file goes back to what it was, so neither holds half an import.
        if (plan.forwardChanged) {
            if (forwardExisted ? WriteWholeFile(*forwardPath, plan.forwardBefore) != 0
                               : platform::RemoveFile(*forwardPath) != 0)
                error = "cannot write " + *backwardPath + ", and " + *forwardPath +
                        " could not be put back: it holds the import, its reverse pair does not";
        }
        done = false;
    }
    if (current) SetCollation(*current, LocaleReport::Silent);
    return done;
}

std::string DescribeImport(const ImportReport& report, std::size_t maxProblems) {
    std::string text =
        report.file + " (" + FormatName(report.format) + "): " + std::to_string(report.entries) + " entries\n";
    if (!report.languages.empty()) text += "languages: " + report.languages + "\n";
    text += "added " + std::to_string(report.added) + ", merged " + std::to_string(report.merged) + ", already there " +
            std::to_string(report.unchanged) + ", skipped " + std::to_string(report.skipped) + "\n";
    text += "reverse pair: added " + std::to_string(report.reverseAdded) + ", merged " +
            std::to_string(report.reverseMerged) + "\n";
    std::size_t shown = 0;
    for (const ImportProblem& p : report.problems) {
        if (shown++ == maxProblems) {
            text += "... and " + std::to_string(report.problems.size() - maxProblems) + " more lines\n";
            break;
        }
        text += "line " + std::to_string(p.line) + ": " + p.message + "\n";
    }
    return text;
}

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
        ForeignEntry e{0, r.word, r.translation};
        if (utf8 && (!platform::CodePageToUtf8(r.word, wordPage, e.word) ||
                     !platform::CodePageToUtf8(r.translation, translationPage, e.translation))) {
            error = "the code page of the pair cannot be converted";
            return -1;
        }
        entries.push_back(std::move(e));
    }
    const std::string first = Utf8Name(CurrentPair->name1), second = Utf8Name(CurrentPair->name2);
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
            if (WriteWholeFile(dictPath, dict) != 0) {
                error = "cannot write " + dictPath;
                return -1;
            }
            break;
        }
    }
    result = WriteWholeFile(path, text);
    if (result != 0) {
        error = "cannot write " + path;
        return -1;
    }
    return static_cast<int>(entries.size());
}
