// FreeDict, dictd's dictionaries: an index of headwords, offsets and lengths, and the
// definitions' text, dictzip-compressed or not.
#include "core/exchange/freedict.h"

#include <cstdint>
#include <string>
#include <vector>

#include "core/exchange/format_helpers.h"
#include "core/exchange/freedict_definition.h"
#include "core/text/fixed_text.h"
#include "core/text/utf8.h"

namespace {

// dictd's numbers: base 64 digits, most significant first.
bool DecodeNumber(std::string_view digits, std::uint64_t& value) {
    value = 0;
    if (digits.empty() || digits.size() > 10) return false;
    for (char c : digits) {
        // Worked out, not looked up in the digits' text: a search per digit was a call of the
        // C runtime's, eight for each line of an index.
        unsigned d;
        if (c >= 'A' && c <= 'Z')
            d = static_cast<unsigned>(c - 'A');
        else if (c >= 'a' && c <= 'z')
            d = static_cast<unsigned>(c - 'a') + 26;
        else if (c >= '0' && c <= '9')
            d = static_cast<unsigned>(c - '0') + 52;
        else if (c == '+' || c == '/')
            d = c == '+' ? 62 : 63;
        else
            return false;
        value = value * 64 + d;
    }
    return true;
}

std::string EncodeNumber(std::uint64_t value) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value % 64]);
        value /= 64;
    } while (value > 0);
    return digits;
}

// The small letter of a capital of the alphabets the pairs' code pages hold (Latin, Greek,
// Cyrillic, and the Japanese one's full-width Latin), as Unicode pairs them.
std::uint32_t LowerLetter(std::uint32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c == 0x130) return 'i';
    if (c == 0x178) return 0xFF;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    // Each capital of these runs is followed by its small letter.
    const bool evenFirst = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x481) ||
                           (c >= 0x48A && c <= 0x4BF);
    const bool oddFirst = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenFirst && c % 2 == 0) || (oddFirst && c % 2 == 1) || c == 0x191 || c == 0x1A0 || c == 0x1AF) return c + 1;
    return c;
}

// A headword as dictd looks it up when the dictionary ignores case: in small letters.
std::string DictdKey(std::string_view headword) {
    std::string key;
    key.reserve(headword.size());
    for (std::size_t i = 0; i < headword.size();) {
        std::uint32_t code = 0;
        const std::size_t n = DecodeUtf8(headword, i, code);
        if (n == 0) {  // not UTF-8: kept as it is
            key += headword[i++];
            continue;
        }
        AppendUtf8(key, LowerLetter(code));
        i += n;
    }
    return key;
}

// The offsets of the definitions taken so far: open addressing over at most `count` of
// them, so a dictionary costs a few bytes a headword rather than a bit a byte of its text.
// Offsets below 4 GB, kept one higher so that 0 marks an empty slot.
class OffsetSet {
public:
    explicit OffsetSet(std::size_t count) {
        std::size_t size = 16;
        while (size < count * 2) size *= 2;
        slots_.assign(size, 0);
        mask_ = size - 1;
    }
    // (Inlined by force: else the compiler takes a call without effects on memory for one it
    // may drop, and drops it.)
    [[gnu::always_inline]] void Prefetch(std::uint32_t offset) const { __builtin_prefetch(&slots_[Slot(offset + 1)]); }
    // False when the offset was there already.
    bool Insert(std::uint32_t offset) {
        const std::uint32_t kept = offset + 1;
        for (std::size_t slot = Slot(kept);; slot = (slot + 1) & mask_) {
            if (slots_[slot] == kept) return false;
            if (slots_[slot] == 0) {
                slots_[slot] = kept;
                return true;
            }
        }
    }

private:
    std::size_t Slot(std::uint32_t kept) const { return (kept * 0x9E3779B97F4A7C15ull) >> 32 & mask_; }
    std::vector<std::uint32_t> slots_;
    std::size_t mask_ = 0;
};

// Marks a dictionary of our own export, whose definitions are a word and a line of its
// translations as they are stored: brackets there are text, not a dictionary's notes.
constexpr std::string_view kLiteralEntry = "00-database-literal-translations";

// Where an index line's definition starts, and how long it is; false when the line gives none.
bool DefinitionOffset(const TabbedLine& line, std::uint64_t& offset) {
    return line.tabs[1] != std::string_view::npos &&
           DecodeNumber(line.text.substr(line.tabs[0] + 1, line.tabs[1] - line.tabs[0] - 1), offset);
}
bool DefinitionLength(const TabbedLine& line, std::uint64_t& length) {
    return DecodeNumber(line.text.substr(line.tabs[1] + 1, line.tabs[2] - line.tabs[1] - 1), length);
}

// Where the index line of a headword starts, npos when the index has none.
std::size_t IndexLineOf(std::string_view index, std::string_view headword) {
    const std::string start = std::string(headword) + "\t";
    if (index.substr(0, start.size()) == start) return 0;
    const std::size_t at = index.find("\n" + start);
    return at == std::string_view::npos ? at : at + 1;
}

// How the dictionary lays its definitions out: told by our own export's mark, and by the
// name or address the dictionary gives itself (WikDict builds its dictionaries from
// Wiktionary). A dictionary that says neither is read as the classic ones are.
Layout LayoutOf(std::string_view index, DictionaryText& dict) {
    if (IndexLineOf(index, kLiteralEntry) != std::string_view::npos) return Layout::Literal;
    for (std::string_view name : {"00-database-short", "00databaseshort", "00-database-url", "00databaseurl"}) {
        const std::size_t at = IndexLineOf(index, name);
        std::uint64_t offset = 0, length = 0;
        std::string ignored;  // a text that cannot be had is told by the reading of the entries
        if (at == std::string_view::npos) continue;
        const TabbedLine line = TabbedLineAt(index, at);
        if (!DefinitionOffset(line, offset) || !DefinitionLength(line, length) || length > 4096) continue;
        const std::optional<std::string_view> text = dict.Upto(static_cast<std::size_t>(offset + length), ignored);
        if (!text || offset + length > text->size()) continue;
        std::string said(text->substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
        for (char& c : said) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (said.find("wikdict") != std::string::npos) return Layout::Wiktionary;
    }
    return Layout::Classic;
}

// The next line's definition and its slot among those seen are brought into the cache
// while this one is read: the definitions lie all over the text, in another order.
// The database's own entries describe the dictionary.
// (The first byte is looked at first: a comparison is a call of the C runtime's.)
[[gnu::always_inline]] inline bool IsDatabaseEntry(std::string_view line) {
    return line[0] == '0' && (line.substr(0, 11) == "00-database" || line.substr(0, 10) == "00database");
}

// The whole text, once the index is read: one that cannot be had is the failure told.
bool WholeTextSound(DictionaryText& dict, std::string& error) {
    const std::optional<std::string_view> text = dict.Upto(std::string_view::npos, error);
    if (!text) return false;
    if (text->size() >= 0xFFFFFFFFu)
        error = "the dictionary is larger than 4 GB";
    else if (!ValidUtf8(*text))
        error = "the dictionary is not UTF-8 text";
    else
        return true;
    return false;
}

[[gnu::always_inline]] inline void PrefetchDefinition(const TabbedLine& next, std::string_view text,
                                                      const OffsetSet& seen) {
    std::uint64_t offset = 0;
    if (!DefinitionOffset(next, offset) || offset >= text.size()) return;
    __builtin_prefetch(text.data() + offset);
    seen.Prefetch(static_cast<std::uint32_t>(offset));
}

struct WholeText final : DictionaryText {
    explicit WholeText(std::string_view whole) : text(whole) {}
    std::optional<std::string_view> Upto(std::size_t, std::string&) override { return text; }
    std::string_view text;
};

}  // namespace

bool ReadFreeDict(std::string_view index, std::string_view dict, ForeignFile& file, std::string& error) {
    struct Keeper final : EntrySink {
        std::vector<ForeignEntry>& entries;
        explicit Keeper(std::vector<ForeignEntry>& kept) : entries(kept) {}
        void Expect(std::size_t count) override { entries.reserve(count); }
        void Take(const ForeignEntry& entry) override { entries.push_back(entry); }
    };
    std::vector<ForeignEntry> entries;
    Keeper keeper(entries);
    WholeText text(dict);
    const bool read = ReadFreeDict(index, text, file, error, keeper);
    file.entries = std::move(entries);
    return read;
}

bool ReadFreeDict(std::string_view index, DictionaryText& dict, ForeignFile& file, std::string& error,
                  EntrySink& sink) {
    file = ForeignFile{};
    // The whole text, or none when it cannot be had: then that is the failure told.
    std::optional<std::string_view> text;
    auto fail = [&](std::string message) {
        if ((text = dict.Upto(std::string_view::npos, error))) error = std::move(message);
        return false;
    };
    index = WithoutBom(index);
    if (!ValidUtf8(index)) return fail("the index is not UTF-8 text");
    const Layout layout = LayoutOf(index, dict);
    const std::size_t lines = static_cast<std::size_t>(std::count(index.begin(), index.end(), '\n')) + 1;
    sink.Expect(lines);
    OffsetSet seen(lines);  // several headwords may share a definition
    // One entry's room serves them all: its strings keep their capacity from one to the next.
    ForeignEntry entry;
    int lineNumber = 0;
    ParseRoom room;
    // The line after the one read, found while this one is (see below).
    TabbedLine ahead{};
    bool readAhead = false;
    for (std::size_t at = 0; at < index.size();) {
        const TabbedLine indexLine = readAhead ? ahead : TabbedLineAt(index, at);
        readAhead = false;
        at = indexLine.next;
        const std::string_view line = indexLine.text;
        ++lineNumber;
        if (line.empty()) continue;
        std::uint64_t offset = 0, length = 0;
        if (!DefinitionOffset(indexLine, offset) || !DefinitionLength(indexLine, length))
            return fail(Where(lineNumber) + "not an index line (headword, offset and length)");
        // Past the largest text an import takes, the definition cannot be in the text.
        const std::uint64_t end = offset + length;
        if (!(text = dict.Upto(offset > kMaxImportText || length > kMaxImportText ? std::string_view::npos
                                                                                  : static_cast<std::size_t>(end),
                               error)))
            return false;
        if (offset > text->size() || length > text->size() - offset)
            return fail(Where(lineNumber) + "the definition lies beyond the end of the dictionary");
        if (at < index.size()) {
            ahead = TabbedLineAt(index, at);
            readAhead = true;
            PrefetchDefinition(ahead, *text, seen);
        }
        if (IsDatabaseEntry(line)) continue;
        if (offset >= 0xFFFFFFFFu) return fail("the dictionary is larger than 4 GB");
        if (!seen.Insert(static_cast<std::uint32_t>(offset))) continue;
        entry.line = lineNumber;
        entry.word.clear();
        entry.translation.clear();
        entry.remark.clear();
        if (!ParseDefinition(text->substr(offset, length), layout, entry.word, entry.translation, room))
            entry.remark = "a bracket without its pair was dropped from the translation";
        if (entry.word.empty()) entry.word.assign(line.substr(0, indexLine.tabs[0]));
        sink.Take(entry);
    }
    return WholeTextSound(dict, error);
}

void WriteFreeDict(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second,
                   std::string& index, std::string& dict) {
    index.clear();
    dict.clear();
    struct Line {
        std::string key;
        std::string_view headword;
        std::size_t offset, length;
    };
    std::vector<Line> lines;
    lines.reserve(entries.size() + 4);
    auto add = [&](std::string_view headword, const std::string& definition) {
        lines.push_back({DictdKey(headword), headword, dict.size(), definition.size()});
        dict += definition;
    };
    // dictd reads the dictionary's name and its encoding from these, and takes every
    // character of a headword as part of it (a hyphen, an apostrophe, a slash).
    add("00-database-short", "00-database-short\n" + first + " - " + second + "\n");
    add("00-database-utf8", "00-database-utf8\n");
    add("00-database-allchars", "00-database-allchars\n");
    add(kLiteralEntry, std::string(kLiteralEntry) + "\n");
    for (const ForeignEntry& e : entries) add(e.word, e.word + "\n" + e.translation + "\n");
    // dictd bisects the index by its keys' bytes; it finds the words of any case by their
    // lower case, and names a word by the fourth column where that differs.
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.key < b.key; });
    for (const Line& l : lines) {
        index += l.key + "\t" + EncodeNumber(l.offset) + "\t" + EncodeNumber(l.length);
        if (l.key != l.headword) index.append("\t").append(l.headword);
        index += "\n";
    }
}
