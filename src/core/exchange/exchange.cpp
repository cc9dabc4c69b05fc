#include "core/exchange/exchange.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "core/catalogue/catalogue.h"
#include "core/editing/add_words.h"
#include "core/exchange/format_helpers.h"
#include "core/exchange/unpacking.h"
#include "core/store/collation.h"
#include "core/store/sorting.h"
#include "core/text/code_page.h"
#include "core/text/fixed_text.h"
#include "core/text/pieces.h"
#include "core/text/utf8.h"
#include "platform/beside.h"
#include "platform/file_view.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/text_convert.h"

void (*ImportStepHook)(const char* step) = nullptr;

namespace {

// A report quotes this much of a field: enough to find the line, while a line of 200 MB
// would otherwise make a report, and a confirmation box, of 200 MB.
constexpr std::size_t kQuotedChars = 80;

void Step(const char* name) {
    if (ImportStepHook) ImportStepHook(name);
}

// A field in quotes for the report, cut after kQuotedChars characters (of UTF-8 text, or
// bytes of a code page's).
void AppendQuoted(std::string& out, std::string_view text, bool utf8) {
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size() && chars < kQuotedChars; ++chars) {
        end = utf8 ? Utf8CharacterEnd(text, end) : end + 1;
    }
    out += '"';
    out.append(text.substr(0, end));
    out.append(end < text.size() ? "...\"" : "\"");
}

std::string Quoted(std::string_view text, bool utf8) {
    std::string out;
    AppendQuoted(out, text, utf8);
    return out;
}

// What another program's field becomes before it is stored: runs of white space as one
// blank in a word; line breaks as commas (one translation each) in a translation.
void StoredFieldText(std::string_view text, bool translation, std::string& out) {
    // Written through a pointer into room for the whole field: a call per character was a
    // good part of a dictionary's import.
    out.resize(text.size());
    char* const begin = out.data();
    char* end = begin;
    for (char c : text) {
        if (translation && (c == '\n' || c == '\r')) c = ',';
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
        if (c == ' ' && (end == begin || end[-1] == ' ')) continue;
        *end++ = c;
    }
    if (end != begin && end[-1] == ' ') --end;
    out.resize(static_cast<std::size_t>(end - begin));
}

// Other programs' text as the code pages spell it: accents composed with their letters,
// the Dutch ligature "ĳ" as the two letters it stands for, and the typographic hyphens and
// dashes (U+2010 to U+2015) and the minus sign as the hyphen a keyboard types, so that a
// word can be looked up and answered as typed. `text` itself when nothing changes, as for
// most words, which hold no letter beyond U+00FF (no lead byte from 0xC4 on); else `spelt`.
const std::string& CodePageSpelling(const std::string& text, std::string& spelt) {
    auto holds = [&](unsigned char lead) {
        return std::any_of(text.begin(), text.end(), [&](char c) { return static_cast<unsigned char>(c) >= lead; });
    };
    if (!holds(0xC4)) return text;
    // Combining accents start at U+0300: text without them is composed already.
    std::string composed;
    const std::string& from = holds(0xCC) && platform::ComposeUtf8(text, composed) ? composed : text;
    spelt.clear();
    for (std::size_t i = 0; i < from.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(from[i]);
        const unsigned char next = i + 1 < from.size() ? static_cast<unsigned char>(from[i + 1]) : 0;
        const unsigned char last = i + 2 < from.size() ? static_cast<unsigned char>(from[i + 2]) : 0;
        if (c == 0xC4 && (next == 0xB2 || next == 0xB3)) {  // U+0132, U+0133
            spelt += next == 0xB2 ? "IJ" : "ij";
            ++i;
        } else if (c == 0xE2 && ((next == 0x80 && last >= 0x90 && last <= 0x95) || (next == 0x88 && last == 0x92))) {
            spelt += '-';
            i += 2;
        } else {
            spelt += static_cast<char>(c);
        }
    }
    return spelt;
}

// The first character of UTF-8 text that the code page lacks, for the report.
std::string MissingCharacter(std::string_view utf8, unsigned codePage) {
    std::string converted;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = Utf8CharacterEnd(utf8, i) - i;
        if (!platform::Utf8ToCodePage(utf8.substr(i, n), codePage, converted)) return std::string(utf8.substr(i, n));
        i += n;
    }
    return std::string();
}

// The records of a word file by their word, the letters A-Z in either case being the
// same, as the add window matches a typed word. Open addressing over record numbers: a
// dictionary's half million words cost no allocation each.
class WordTable {
public:
    explicit WordTable(std::vector<WordRecord>& records) : records_(records) { Grow(records.size()); }
    // Room for `more` records to come without growing on the way: the table is then at
    // most half full, as Add keeps it, rather than a quarter as after a growth.
    void Reserve(std::size_t more) { Grow((records_.size() + more + 1) / 2); }
    // Brings into the cache the slot where the search for a word starts, or once that is
    // there the record it holds: a dictionary's table and records are far larger than the
    // cache, and waiting for them was most of the merge.
    // (Inlined by force: else the compiler takes a call without effects on memory for one it
    // may drop, and drops it.)
    [[gnu::always_inline]] void Prefetch(std::string_view word, bool record) const {
        const std::size_t slot = Hash(word) & mask_;
        if (!record) {
            __builtin_prefetch(&slots_[slot]);
        } else if (slots_[slot] != kEmpty) {
            __builtin_prefetch(records_[slots_[slot]].word);
        }
    }
    WordRecord* Find(std::string_view word) {
        for (std::size_t slot = Hash(word) & mask_;; slot = (slot + 1) & mask_) {
            const std::uint32_t i = slots_[slot];
            if (i == kEmpty) return nullptr;
            if (SameWord(records_[i].word, word)) return &records_[i];
        }
    }
    void Add(std::string_view word, std::string_view translation) {
        WordRecord record{};
        SetWord(record, word);
        SetTranslation(record, translation);
        records_.push_back(record);
        if (records_.size() * 2 > slots_.size())
            Grow(records_.size());
        else
            Insert(static_cast<std::uint32_t>(records_.size() - 1));
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    // EqualsIgnoringAsciiCase without measuring the record's word first.
    static bool SameWord(const char* stored, std::string_view word) {
        for (char c : word)
            if (FoldAscii(*stored++) != FoldAscii(c)) return false;
        return *stored == '\0';
    }
    static std::size_t Hash(std::string_view word) {
        std::uint64_t h = 1469598103934665603ull;  // FNV-1a over the folded letters
        for (char c : word) h = (h ^ static_cast<unsigned char>(FoldAscii(c))) * 1099511628211ull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
    void Insert(std::uint32_t i) {
        std::size_t slot = Hash(records_[i].word) & mask_;
        while (slots_[slot] != kEmpty) slot = (slot + 1) & mask_;
        slots_[slot] = i;
    }
    void Grow(std::size_t count) {
        std::size_t size = 16;
        while (size < count * 4) size *= 2;
        slots_.assign(size, kEmpty);
        mask_ = size - 1;
        for (std::size_t i = 0; i < records_.size(); ++i) Insert(static_cast<std::uint32_t>(i));
    }

    std::vector<WordRecord>& records_;
    std::vector<std::uint32_t> slots_;
    std::size_t mask_ = 0;
};

// Text from UTF-8 into a code page. ASCII is the same in every code page a pair can have;
// for the single-byte code pages the platform converts each of the 128 upper bytes once,
// and the table made of them serves every word after.
class CodePageWriter {
public:
    explicit CodePageWriter(unsigned codePage)
        : codePage_(codePage),
          singleByte_(codePage != 932 && codePage != 936 && codePage != 949 && codePage != 950 && codePage != 1361) {
        std::string utf8;
        for (int b = 0x80; b <= 0xFF && singleByte_; ++b) {
            const char byte = static_cast<char>(b);
            std::uint32_t code = 0;
            if (platform::CodePageToUtf8(std::string_view(&byte, 1), codePage, utf8) && !utf8.empty() &&
                DecodeUtf8(utf8, 0, code) == utf8.size() && code >= 0x80)
                bytes_.emplace_back(code, byte);
        }
        std::sort(bytes_.begin(), bytes_.end());
    }

    // False when a character is not in the code page.
    bool Convert(const std::string& utf8, std::string& out) const {
        if (!singleByte_) return platform::Utf8ToCodePage(utf8, codePage_, out);
        out.clear();
        for (std::size_t i = 0; i < utf8.size();) {
            const unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
                ++i;
                continue;
            }
            const std::size_t n = Utf8CharacterEnd(utf8, i) - i;
            std::uint32_t code = 0;
            if (DecodeUtf8(std::string_view(utf8).substr(i, n), 0, code) != n) return false;
            const auto found = std::lower_bound(bytes_.begin(), bytes_.end(), std::make_pair(code, '\0'),
                                                [](const auto& a, const auto& b) { return a.first < b.first; });
            if (found == bytes_.end() || found->first != code) return false;
            out += found->second;
            i += n;
        }
        return true;
    }

private:
    unsigned codePage_;
    bool singleByte_;
    std::vector<std::pair<std::uint32_t, char>> bytes_;
};

bool ToUtf8(const char* text, unsigned codePage, std::string& out) {
    const std::string_view view(text);
    if (std::all_of(view.begin(), view.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out = view;
        return true;
    }
    return platform::CodePageToUtf8(view, codePage, out);
}

// Adds the pieces a record's translation does not list yet, as far as they fit, and
// returns how many; those without room go to `full`.
int MergePieces(WordRecord& record, const std::vector<std::string_view>& pieces, std::vector<std::string_view>* full) {
    char text[kMaxTranslationChars + 1];
    std::size_t length = std::strlen(record.translation);
    std::memcpy(text, record.translation, length);
    int added = 0;
    for (std::string_view piece : pieces) {
        const PieceAdded result = AddTranslationPiece(text, length, kMaxTranslationChars, piece);
        if (result == PieceAdded::Added) ++added;
        if (result == PieceAdded::NoRoom && full) full->push_back(piece);
    }
    if (added) SetTranslation(record, std::string_view(text, length));
    return added;
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
    if (platform::FileExists(*path) && !platform::ReadFileBytes(*path, bytes)) {
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

// The file's size, unless it cannot be told or is larger than `limit`: then none, with a
// message ("cannot read" when a read would fail).
std::optional<std::uint64_t> BoundedSize(const std::string& path, std::size_t limit, std::string& error) {
    FILE* in = platform::OpenFile(path, "rb");
    const std::int64_t size = in ? platform::FileSize(in) : -1;
    if (in) std::fclose(in);
    if (size >= 0 && static_cast<std::uint64_t>(size) > limit) {
        error = path + " is larger than " + SizeName(limit) + ", more than an import takes";
        return std::nullopt;
    }
    if (size < 0) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size);
}

// The whole file, unless it is larger than `limit`.
bool ReadBounded(const std::string& path, std::size_t limit, std::string& bytes, std::string& error) {
    if (!BoundedSize(path, limit, error)) return false;
    if (!platform::ReadFileBytes(path, bytes)) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

// The whole file as a view of it, unless it is larger than `limit`.
bool ViewBounded(const std::string& path, std::size_t limit, platform::FileView& view, std::string& error) {
    if (!BoundedSize(path, limit, error)) return false;
    if (!view.Open(path) || view.Bytes().size() > limit) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

// A dictionary's index and its definitions, which lie beside it compressed or not.
bool ReadDictionaryFiles(const std::string& path, const ImportOptions& options, platform::FileView& index,
                         std::optional<UnpackingText>& dict, std::string& error) {
    const bool indexNamed = path.size() > 6 && EqualsIgnoringAsciiCase(path.substr(path.size() - 6), ".index");
    const std::string stem = indexNamed ? path.substr(0, path.size() - 6) : path;
    // The definitions first, so that they are unpacked while the index is read; the index's
    // failure is still the one told.
    platform::FileView packed;
    std::string dictError;
    const bool plain = !platform::FileExists(stem + ".dict.dz");
    const bool dictRead = ViewBounded(stem + (plain ? ".dict" : ".dict.dz"), options.maxText, packed, dictError);
    if (dictRead) dict.emplace(std::move(packed), options.maxText);
    if (!ViewBounded(path, options.maxText, index, error)) {
        dict.reset();
        return false;
    }
    if (!dictRead) {
        error = dictError.rfind("cannot read ", 0) == 0 ? "cannot read " + stem + ".dict.dz (nor " + stem + ".dict)"
                                                        : dictError;
        return false;
    }
    return true;
}

// The files whose entries are read whole before the plan takes them: a dictionary's go
// into the plan as they are read (see Plan).
bool ReadForeignFile(const std::string& path, ExchangeFormat format, const ImportOptions& options,
                     const WordListDescriptor& pair, ForeignFile& file, std::string& error) {
    std::string text;
    if (!ReadBounded(path, options.maxText, text, error)) return false;
    switch (format) {
        case ExchangeFormat::Tsv:
            return ReadDelimited(text, options.separator, file, error, '\t');
        case ExchangeFormat::Csv:
            return ReadDelimited(text, options.separator, file, error, ',');
        case ExchangeFormat::Anki:
            return ReadAnki(text, file, error);
        case ExchangeFormat::Kvtml:
            return ReadKvtml(text, options.first.empty() ? LanguageNameUtf8(pair.name1) : options.first,
                             options.second.empty() ? LanguageNameUtf8(pair.name2) : options.second, file, error);
        case ExchangeFormat::FreeDict:
            break;
    }
    return false;
}

// A name as a spreadsheet's header cell gives it: blanks around it do not count.
std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

bool NamesLanguage(std::string_view field, const char* name) {
    return name[0] != '\0' && EqualsIgnoringAsciiCase(Trimmed(field), LanguageNameUtf8(name));
}

// A first row of column titles ("english;german") is no entry. Titles naming the pair's
// languages the other way round turn the columns; titles naming two other languages of the
// catalogue are reported, since the file is then likely meant for another pair.
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

std::optional<ExchangeFormat> FormatFor(const std::string& path, std::optional<ExchangeFormat> format,
                                        const std::string& head, std::string& error) {
    if (format) return format;
    format = FormatOfFile(path, head);
    if (!format) error = "the format of " + path + " is not known by its name; give it with --format";
    return format;
}

// A problem's message, made of its parts in one buffer. `Shown` stands for the entry's
// word as the report quotes it, `ShownPiece` for a piece of the stored translation, in the
// file's encoding as the rest of the report.
class ProblemText {
public:
    struct Shown {};
    struct ShownPiece {
        std::string_view piece;
    };
    ProblemText(bool utf8, unsigned translationPage) : utf8_(utf8), translationPage_(translationPage) {}

    template <typename... Parts>
    std::string_view Make(std::string_view word, const Parts&... parts) {
        message_.clear();
        (Append(word, parts), ...);
        return message_;
    }

private:
    void Append(std::string_view word, Shown) {
        StoredFieldText(word, false, quoted_);
        AppendQuoted(message_, quoted_, utf8_);
    }
    void Append(std::string_view, ShownPiece shown) {
        const std::string_view piece = shown.piece;
        if (utf8_ &&
            std::any_of(piece.begin(), piece.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
            platform::CodePageToUtf8(piece, translationPage_, quoted_)) {
            AppendQuoted(message_, quoted_, true);
            return;
        }
        AppendQuoted(message_, piece, utf8_);
    }
    void Append(std::string_view, std::string_view text) { message_.append(text); }
    void Append(std::string_view, const std::string& text) { message_.append(text); }
    void Append(std::string_view, const char* text) { message_.append(text); }

    const bool utf8_;
    const unsigned translationPage_;
    std::string message_, quoted_;
};

// Entries prepared for the merge, a few thousand at a time: handed from one thread to
// another one by one, they would cost more in the hand-over than in the merge. Each
// entry's texts lie one after another in `text`.
struct PreparedBatch {
    struct Entry {
        int line;
        bool merged;                   // false: skipped
        std::uint32_t wordAt;          // its word as stored; before it, the file's word, for the merge's problems
        std::uint32_t translationAt;   // its translation as stored
        std::uint32_t problemAt, end;  // the problem found in preparing it, if any
        std::uint32_t piecesEnd;       // its pieces run from the previous entry's end to here
    };
    struct Piece {
        std::uint32_t at, size;  // in `text`
    };
    void Clear() {
        text.clear();
        entries.clear();
        pieces.clear();
    }
    std::string text;
    std::vector<Entry> entries;
    std::vector<Piece> pieces;
};
constexpr std::size_t kBatchEntries = 4096;
// The batches in flight: the reader runs ahead of the merge by at most these.
constexpr std::size_t kBatches = 4;

// Each entry's fields as the pair stores them and the pieces of its translation, or the
// reason it is skipped. Touches nothing of the plan, so it runs beside the merge.
class Preparer {
public:
    Preparer(const ImportPlan& plan, bool utf8)
        : plan_(plan),
          utf8_(utf8),
          wordPage_(CodePageOfCharset(plan.pair->charset1)),
          translationPage_(CodePageOfCharset(plan.pair->charset2)),
          wordWriter_(wordPage_),
          translationWriter_(translationPage_),
          problem_(utf8, translationPage_) {}

    void Prepare(const ForeignEntry& entry, PreparedBatch& batch) {
        problemMessage_ = {};
        const bool merged = PrepareFields(entry);
        PreparedBatch::Entry e{};
        e.line = entry.line;
        e.merged = merged;
        std::string& text = batch.text;
        if (merged) text.append(entry.word);  // quoted by the merge's problems
        e.wordAt = static_cast<std::uint32_t>(text.size());
        if (merged) text.append(word_);
        e.translationAt = static_cast<std::uint32_t>(text.size());
        if (merged) {
            text.append(translation_);
            for (std::string_view piece : pieces_)
                batch.pieces.push_back(
                    {e.translationAt + static_cast<std::uint32_t>(piece.data() - translation_.data()),
                     static_cast<std::uint32_t>(piece.size())});
        }
        e.problemAt = static_cast<std::uint32_t>(text.size());
        text.append(problemMessage_);
        e.end = static_cast<std::uint32_t>(text.size());
        e.piecesEnd = static_cast<std::uint32_t>(batch.pieces.size());
        batch.entries.push_back(e);
    }

    int skipped = 0;

private:
    using Shown = ProblemText::Shown;
    // At most one problem comes of preparing an entry.
    template <typename... Parts>
    void Problem(const ForeignEntry& entry, const Parts&... parts) {
        problemMessage_ = problem_.Make(entry.word, parts...);
    }
    template <typename... Parts>
    void Skip(const ForeignEntry& entry, const Parts&... parts) {
        Problem(entry, parts...);
        ++skipped;
    }

    // The entry's word and the pieces of its translation as the pair stores them, into
    // word_, translation_ and pieces_; false when it is skipped.
    bool PrepareFields(const ForeignEntry& entry) {
        if (!entry.refused.empty()) {
            Skip(entry, entry.refused);
            return false;
        }
        // A NUL would end the stored word early and the report's text at it.
        if (Holds(entry.word, '\0') || Holds(entry.translation, '\0')) {
            Skip(entry, "a NUL byte in the ", (Holds(entry.word, '\0') ? "word" : "translation"));
            return false;
        }
        StoredFieldText(utf8_ ? CodePageSpelling(entry.word, spelt_) : entry.word, false, word_);
        StoredFieldText(utf8_ ? CodePageSpelling(entry.translation, spelt_) : entry.translation, true, converted_);
        NormaliseTranslation(converted_, translation_);
        if (word_.empty()) {
            Skip(entry, "the word is empty");
            return false;
        }
        if (translation_.empty()) {
            Skip(entry, Shown{}, ": the translation is empty");
            return false;
        }
        if (Holds(word_, ',')) {
            Skip(entry, Shown{}, ": a comma in the word");
            return false;
        }
        if (utf8_) {
            if (!wordWriter_.Convert(word_, converted_)) {
                Skip(entry, Shown{}, ": \"", MissingCharacter(word_, wordPage_), "\" is not in the code page of ",
                     LanguageNameUtf8(plan_.pair->name1));
                return false;
            }
            word_.swap(converted_);
            if (!translationWriter_.Convert(translation_, converted_)) {
                Skip(entry, Shown{}, ": \"", MissingCharacter(translation_, translationPage_),
                     "\" in the translation is not in the code page of ", LanguageNameUtf8(plan_.pair->name2));
                return false;
            }
            translation_.swap(converted_);
        }
        if (word_.size() > kMaxWordChars) {
            Skip(entry, Shown{}, ": the word has more than 30 characters");
            return false;
        }
        // Normalised, the translation holds its pieces joined by ", ", as the cut below counts.
        pieces_.clear();
        ForEachTranslationPiece(translation_, [&](std::string_view piece) {
            pieces_.push_back(piece);
            return false;
        });
        if (translation_.size() > kMaxTranslationChars) {
            // Kept up to the last whole translation that fits.
            std::size_t kept = 0, length = 0;
            while (kept < pieces_.size() && length + (kept ? 2 : 0) + pieces_[kept].size() <= kMaxTranslationChars) {
                length += (kept ? 2 : 0) + pieces_[kept].size();
                ++kept;
            }
            if (kept == 0) {
                Skip(entry, Shown{}, ": the translation has more than 50 characters, even its first part");
                return false;
            }
            Problem(entry, Shown{}, ": the translation has more than 50 characters; kept its first ",
                    std::to_string(kept), " of ", std::to_string(pieces_.size()), " parts");
            pieces_.resize(kept);
            translation_.resize(length);
        }
        return true;
    }

    const ImportPlan& plan_;
    const bool utf8_;
    const unsigned wordPage_, translationPage_;
    const CodePageWriter wordWriter_, translationWriter_;
    ProblemText problem_;
    std::string_view problemMessage_;
    std::string word_, translation_, converted_, spelt_;
    std::vector<std::string_view> pieces_;
};

// The prepared entries into the pair's word file and the reverse pair's, and their
// problems into the report in line order: those of preparing an entry before those of
// merging it.
class Merger {
public:
    Merger(ImportPlan& plan, bool utf8)
        : plan_(plan),
          report_(plan.report),
          problem_(utf8, CodePageOfCharset(plan.pair->charset2)),
          forward_(plan.forward),
          backward_(plan.backward),
          one_(1) {}

    void Expect(std::size_t count) {
        plan_.forward.reserve(plan_.forward.size() + count);
        // Each piece of a translation may become a word of the reverse pair, but room for
        // one per entry is what dictionaries need; more grows as it comes.
        plan_.backward.reserve(plan_.backward.size() + count);
        forward_.Reserve(count);
        backward_.Reserve(count);
        // A dictionary has a problem for every other entry, of some 80 bytes: room for a
        // line's worth for each entry covers that, up to a bound a 32-bit process can spare.
        const std::size_t problemLines = std::min<std::size_t>(count, std::size_t{1} << 20);
        report_.problems.Reserve(problemLines, problemLines * 64);
    }

    void Merge(const PreparedBatch& batch) {
        if (ImportMergeHook) ImportMergeHook();
        const std::string_view text = batch.text;
        const std::vector<PreparedBatch::Entry>& entries = batch.entries;
        std::uint32_t begin = 0, piecesBegin = 0;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const PreparedBatch::Entry& e = entries[k];
            Prefetch(batch, k + 8, false);
            Prefetch(batch, k + 4, true);
            line_ = e.line;
            fileWord_ = text.substr(begin, e.wordAt - begin);
            if (e.problemAt != e.end) report_.problems.Add(e.line, text.substr(e.problemAt, e.end - e.problemAt));
            if (e.merged) {
                pieces_.clear();
                for (std::uint32_t i = piecesBegin; i < e.piecesEnd; ++i)
                    pieces_.push_back(text.substr(batch.pieces[i].at, batch.pieces[i].size));
                MergeEntry(text.substr(e.wordAt, e.translationAt - e.wordAt),
                           text.substr(e.translationAt, e.problemAt - e.translationAt));
            }
            begin = e.end;
            piecesBegin = e.piecesEnd;
        }
    }

private:
    using Shown = ProblemText::Shown;
    using ShownPiece = ProblemText::ShownPiece;
    // The words of an entry a few ahead, looked for in the cache's good time.
    [[gnu::always_inline]] void Prefetch(const PreparedBatch& batch, std::size_t k, bool record) const {
        if (k >= batch.entries.size() || !batch.entries[k].merged) return;
        const PreparedBatch::Entry& e = batch.entries[k];
        const std::string_view text = batch.text;
        forward_.Prefetch(text.substr(e.wordAt, e.translationAt - e.wordAt), record);
        for (std::uint32_t i = k ? batch.entries[k - 1].piecesEnd : 0; plan_.reverse && i < e.piecesEnd; ++i)
            backward_.Prefetch(text.substr(batch.pieces[i].at, batch.pieces[i].size), record);
    }
    template <typename... Parts>
    void Problem(const Parts&... parts) {
        report_.problems.Add(line_, problem_.Make(fileWord_, parts...));
    }

    // The prepared word into the pair's word file, and each piece of its translation into
    // the reverse pair's, where it becomes a word or lists this word.
    void MergeEntry(std::string_view word, std::string_view translation) {
        if (WordRecord* record = forward_.Find(word)) {
            full_.clear();
            const int added = MergePieces(*record, pieces_, &full_);
            for (std::string_view piece : full_)
                Problem(Shown{}, ": no room for ", ShownPiece{piece}, " in the word's translation");
            ++(added ? report_.merged : report_.unchanged);
            plan_.forwardChanged = plan_.forwardChanged || added > 0;
        } else {
            forward_.Add(word, translation);
            ++report_.added;
            plan_.forwardChanged = true;
        }
        if (!plan_.reverse) return;
        one_[0] = word;
        for (std::string_view piece : pieces_) {
            if (piece.size() > kMaxWordChars) {
                Problem(Shown{}, ": ", ShownPiece{piece},
                        " has more than 30 characters, too many for a word of the reverse pair");
                ++report_.reverseSkipped;
                continue;
            }
            if (WordRecord* record = backward_.Find(piece)) {
                full_.clear();
                const int added = MergePieces(*record, one_, &full_);
                if (!full_.empty()) {
                    Problem(Shown{}, ": no room in the reverse pair's translation of ", ShownPiece{piece});
                    ++report_.reverseSkipped;
                }
                report_.reverseMerged += added;
                plan_.backwardChanged = plan_.backwardChanged || added > 0;
            } else {
                backward_.Add(piece, word);
                ++report_.reverseAdded;
                plan_.backwardChanged = true;
            }
        }
    }

    ImportPlan& plan_;
    ImportReport& report_;
    ProblemText problem_;
    WordTable forward_, backward_;
    int line_ = 0;
    std::string_view fileWord_;
    std::vector<std::string_view> pieces_, full_, one_;
};

}  // namespace

bool ImportOnOneThread = false;
void (*ImportMergeHook)() = nullptr;

namespace {

// Works out what the import changes, one entry at a time: each is first prepared, on the
// thread that reads the file, then merged on a second one, in batches handed over in
// order; or both on the one thread when no second can be had.
// Thrown on the planning thread when the progress says stop; the planner's end stops the merge.
struct PlanCancelled {};

class Planner final : public EntrySink {
public:
    Planner(ImportPlan& plan, bool utf8, const ImportOptions& options)
        : report_(plan.report), preparer_(plan, utf8), merger_(plan, utf8), progress_(options.progress) {
        full_.reserve(kBatches);
        free_.reserve(kBatches);
        current_ = NewBatch();
    }
    // Stops the merge: after a failure the plan is thrown away.
    ~Planner() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;

    void Expect(std::size_t count) override { merger_.Expect(count); }

    void Take(const ForeignEntry& entry) override {
        ++entries_;
        preparer_.Prepare(entry, *current_);
        if (current_->entries.size() == kBatchEntries) HandOver();
    }

    // Merges what is left and adds up the report; throws what the merge threw.
    void Finish() {
        if (!current_->entries.empty()) HandOver(true);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        changed_.notify_all();
        if (thread_.joinable()) thread_.join();
        if (failure_) std::rethrow_exception(failure_);
        report_.entries += entries_;
        report_.skipped += preparer_.skipped;
    }

private:
    static std::unique_ptr<PreparedBatch> NewBatch() {
        auto batch = std::make_unique<PreparedBatch>();
        batch->entries.reserve(kBatchEntries);
        return batch;
    }

    // The full batch to the merge, and an empty one to go on with unless it is the last.
    void HandOver(bool last = false) {
        if (progress_ && !progress_(entries_)) throw PlanCancelled{};
        if (!started_) {
            started_ = true;
            try {
                if (!ImportOnOneThread) thread_ = std::thread([this] { MergeBatches(); });
            } catch (const std::system_error&) {
            }
        }
        if (!thread_.joinable()) {
            merger_.Merge(*current_);
            current_->Clear();
            return;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        if (failure_) std::rethrow_exception(failure_);
        full_.push_back(std::move(current_));
        changed_.notify_all();
        if (last) return;
        if (free_.empty() && batches_ < kBatches) {
            ++batches_;
            lock.unlock();
            current_ = NewBatch();
            return;
        }
        changed_.wait(lock, [&] { return !free_.empty() || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        current_ = std::move(free_.back());
        free_.pop_back();
    }

    void MergeBatches() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return stop_ || finished_ || !full_.empty(); });
            if (stop_ || full_.empty()) return;
            std::unique_ptr<PreparedBatch> batch = std::move(full_.front());
            full_.erase(full_.begin());
            lock.unlock();
            try {
                merger_.Merge(*batch);
            } catch (...) {
                lock.lock();
                failure_ = std::current_exception();
                changed_.notify_all();
                return;
            }
            batch->Clear();
            lock.lock();
            free_.push_back(std::move(batch));
            changed_.notify_all();
        }
    }

    ImportReport& report_;
    Preparer preparer_;
    Merger merger_;
    const std::function<bool(std::int64_t)>& progress_;
    int entries_ = 0;
    std::unique_ptr<PreparedBatch> current_;
    std::size_t batches_ = 1;
    bool started_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<PreparedBatch>> full_, free_;  // in the order handed over
    bool finished_ = false, stop_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

bool Plan(const std::string& path, const ImportOptions& options, ImportPlan& plan, std::string& error) {
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
    std::string ignored;
    auto loadWordFiles = [&] {
        return LoadWordFile(*plan.pair, plan.forward, plan.forwardBefore, error) &&
               (!plan.reverse || LoadWordFile(*plan.reverse, plan.backward, ignored, error));
    };
    ImportReport& report = plan.report;
    ForeignFile file;
    if (*format == ExchangeFormat::FreeDict) {
        // A dictionary's half million entries go into the plan as they are read, none kept.
        platform::FileView index;
        std::optional<UnpackingText> dict;
        if (!ReadDictionaryFiles(path, options, index, dict, error)) {
            error = path + ": " + error;
            return false;
        }
        Step("read");
        if (!loadWordFiles()) return false;
        Planner planner(plan, true, options);
        Step("plan");
        if (!ReadFreeDict(index.Bytes(), *dict, file, error, planner)) {
            error = path + ": " + error;
            return false;
        }
        planner.Finish();
        report.languages = file.languages;
    } else {
        if (!ReadForeignFile(path, *format, options, *plan.pair, file, error)) {
            error = path + ": " + error;
            return false;
        }
        Step("read");
        if (!loadWordFiles()) return false;
        report.languages = file.languages;
        if (*format == ExchangeFormat::Tsv || *format == ExchangeFormat::Csv || *format == ExchangeFormat::Anki)
            TakeHeaderRow(file, *plan.pair, report);
        Planner planner(plan, file.utf8, options);
        planner.Expect(file.entries.size());
        Step("plan");
        for (const ForeignEntry& entry : file.entries) planner.Take(entry);
        planner.Finish();
    }
    report.file = path;
    report.format = *format;
    report.separator = file.separator;
    report.encoding = file.encoding;
    report.utf8 = file.utf8;
    return true;
}

bool OutOfMemory(std::string& error, const std::string& what) {
    error = "there is not enough memory to " + what + "; nothing was changed";
    return false;
}

}  // namespace

bool PlanImport(const std::string& path, const ImportOptions& options, ImportPlan& plan, std::string& error) {
    plan = ImportPlan{};
    try {
        return Plan(path, options, plan, error);
    } catch (const PlanCancelled&) {
        plan = ImportPlan{};
        plan.cancelled = true;
        error = "the import was cancelled; nothing was changed";
        return false;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    plan = ImportPlan{};  // what was read is given back before the caller says so
    return OutOfMemory(error, "read " + path);
}

namespace {

bool Apply(ImportPlan& plan, std::string& error, const std::function<bool()>& beforeWriting) {
    const std::optional<std::string> forwardPath = WordFilePath(*plan.pair);
    const std::optional<std::string> backwardPath = plan.reverse ? WordFilePath(*plan.reverse) : std::nullopt;
    if (!forwardPath || (plan.reverse && !backwardPath)) {
        error = "the word file's path is too long";
        return false;
    }
    const bool forwardExisted = platform::FileExists(*forwardPath);
    try {
        Step("sort");
        // Each file in its own pair's order; the reverse pair's is sorted on a second thread
        // beside the pair's own, or after it when no thread can be had.
        const Collation forward = CollationOf(*plan.pair);
        const Collation backward = plan.reverse ? CollationOf(*plan.reverse) : forward;
        platform::Beside(
            [&] {
                if (plan.forwardChanged) SortRecords(plan.forward, forward);
            },
            [&] {
                if (plan.backwardChanged) SortRecords(plan.backward, backward);
            });
    } catch (...) {
        return OutOfMemory(error, "sort the words");
    }
    if (beforeWriting && !beforeWriting()) return false;
    // A step or a write that runs out of memory fails as one the disk refuses.
    auto stepTaken = [](const char* step) {
        try {
            Step(step);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    auto bytesOf = [](const std::vector<WordRecord>& records) {
        return std::string_view(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WordRecord));
    };
    // Both files are written at once, each first to a temporary file beside it; only once
    // both are whole on the disk do they take their places, the pair's first.
    const std::string forwardTemporary = *forwardPath + ".tmp";
    const std::string backwardTemporary = plan.reverse ? *backwardPath + ".tmp" : std::string();
    const std::string* failed = nullptr;  // the file named by the error
    if (plan.forwardChanged && !stepTaken("write"))
        failed = &*forwardPath;
    else if (plan.backwardChanged && !stepTaken("write reverse"))
        failed = &*backwardPath;
    auto writeTemporary = [](bool changed, const std::string& temporary, std::string_view bytes) {
        try {
            return !changed || platform::WriteTemporaryFile(temporary, bytes) == 0;
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    bool forwardWritten = false, backwardWritten = false;
    if (!failed) {
        platform::Beside(
            [&] { forwardWritten = writeTemporary(plan.forwardChanged, forwardTemporary, bytesOf(plan.forward)); },
            [&] { backwardWritten = writeTemporary(plan.backwardChanged, backwardTemporary, bytesOf(plan.backward)); });
        if (!forwardWritten)
            failed = &*forwardPath;
        else if (!backwardWritten)
            failed = &*backwardPath;
        else if (plan.forwardChanged && platform::MoveIntoPlace(forwardTemporary, *forwardPath) != 0)
            failed = &*forwardPath;
    }
    if (failed) {
        if (forwardWritten && plan.forwardChanged) platform::RemoveFile(forwardTemporary);
        if (backwardWritten && plan.backwardChanged) platform::RemoveFile(backwardTemporary);
        error = "cannot write " + *failed + "; nothing was imported";
        return false;
    }
    if (plan.backwardChanged && platform::MoveIntoPlace(backwardTemporary, *backwardPath) != 0) {
        platform::RemoveFile(backwardTemporary);
        // The pair's own file goes back to what it was, so neither holds half an import.
        auto putBack = [&] {
            try {
                return forwardExisted ? platform::ReplaceFileWith(*forwardPath, plan.forwardBefore) == 0
                                      : platform::RemoveFile(*forwardPath) == 0;
            } catch (const std::bad_alloc&) {
                return false;
            }
        };
        const bool putBackDone = !plan.forwardChanged || putBack();
        error = putBackDone ? "cannot write " + *backwardPath + "; nothing was imported"
                            : "cannot write " + *backwardPath + ", and " + *forwardPath +
                                  " could not be put back: it holds the import, its reverse pair does not";
        return false;
    }
    return true;
}

}  // namespace

bool ApplyImport(ImportPlan& plan, std::string& error, const std::function<bool()>& beforeWriting) {
    try {
        return Apply(plan, error, beforeWriting);
    } catch (const std::bad_alloc&) {
        return OutOfMemory(error, "write the words");
    }
}

namespace {

// Appends text whose line ends are '\n' with `newline` for each.
void AppendLines(std::string& out, std::string_view text, std::string_view newline) {
    for (std::size_t end; newline != "\n" && (end = text.find('\n')) != std::string_view::npos;) {
        out.append(text.substr(0, end)).append(newline);
        text.remove_prefix(end + 1);
    }
    out.append(text);
}

// The report's lines, each ending in `newline`, after `prefix`.
std::string Describe(const ImportReport& report, std::size_t maxProblems, std::string_view newline,
                     std::string_view prefix = {}, std::optional<std::string_view> shownFile = std::nullopt) {
    const std::string_view file = shownFile ? *shownFile : std::string_view(report.file);
    // Room for every line at once: a dictionary's report runs to megabytes, which growing
    // by doubling would copy over and over.
    std::size_t size = prefix.size() + file.size() + report.languages.size() + report.encoding.size() + 256;
    for (std::size_t i = 0; i < report.problems.size() && i < maxProblems; ++i)
        size += report.problems[i].message.size() + 20;
    std::string text;
    text.reserve(size);
    text.append(prefix);
    AppendLines(text, file, newline);
    text.append(" (").append(FormatName(report.format)).append("): ");
    text.append(std::to_string(report.entries)).append(" entries").append(newline);
    if (!report.languages.empty()) {
        text.append("languages: ");
        AppendLines(text, report.languages, newline);
        text.append(newline);
    }
    if (!report.encoding.empty()) {
        text.append("text: ");
        AppendLines(text, report.encoding, newline);
        text.append(newline);
    }
    if (report.separator) text.append("fields separated by ").append(SeparatorName(report.separator)).append(newline);
    text += "added " + std::to_string(report.added) + ", merged " + std::to_string(report.merged) + ", already there " +
            std::to_string(report.unchanged) + ", skipped " + std::to_string(report.skipped);
    text.append(newline);
    text += "reverse pair: added " + std::to_string(report.reverseAdded) + ", merged " +
            std::to_string(report.reverseMerged);
    if (report.reverseSkipped) text += ", not taken " + std::to_string(report.reverseSkipped);
    text.append(newline);
    std::size_t shown = 0;
    char number[16];
    for (const ImportProblem p : report.problems) {
        if (shown++ == maxProblems) {
            text.append("... and ").append(std::to_string(report.problems.size() - maxProblems));
            text.append(" more lines").append(newline);
            break;
        }
        const int digits = std::snprintf(number, sizeof number, "%d", p.line);
        text.append("line ").append(number, static_cast<std::size_t>(digits)).append(": ");
        AppendLines(text, p.message, newline);
        text.append(newline);
    }
    return text;
}

}  // namespace

std::string DescribeImport(const ImportReport& report, std::size_t maxProblems, std::string_view newline) {
    return Describe(report, maxProblems, newline);
}

std::string ImportReportPath(const WordListDescriptor& pair) {
    std::string name = WordFileName(pair);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name + ".import.txt";
}

std::string ImportReportFile(const ImportReport& report, const WordListDescriptor& pair,
                             std::optional<std::string_view> file) {
    if (report.utf8) return Describe(report, static_cast<std::size_t>(-1), "\r\n", kUtf8Bom, file);
    std::string text = Describe(report, static_cast<std::size_t>(-1), "\r\n", {}, file), utf8;
    if (platform::CodePageToUtf8(text, CodePageOfCharset(pair.charset1), utf8)) text.swap(utf8);
    return std::string(kUtf8Bom) + text;
}

bool SaveImportReport(std::string_view file, const WordListDescriptor& pair, std::string& error) {
    const std::string path = ImportReportPath(pair);
    try {
        if (platform::ReplaceFileWith(path, file) == 0) return true;
        error = "cannot write " + path;
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to write " + path;
    }
    return false;
}

bool WriteImportReport(const ImportReport& report, const WordListDescriptor& pair, std::string& error,
                       std::optional<std::string_view> file) {
    try {
        return SaveImportReport(ImportReportFile(report, pair, file), pair, error);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to write " + ImportReportPath(pair);
    }
    return false;
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
        ForeignEntry e{0, r.word, r.translation, {}};
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
