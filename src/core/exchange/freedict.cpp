// FreeDict, dictd's dictionaries: an index of headwords, offsets and lengths, and the
// definitions' text, dictzip-compressed or not.
#include "core/exchange/freedict.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/exchange/format_helpers.h"
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

// A line of translations without its grammar marks ("<adj>", "[chem.]", "{pl}"), which
// are notes, not translations, however they nest ("[[a|b[s]]]"). A bracket without its
// pair is dropped and the text around it kept; false when the line had one.
class NoteStripper {
public:
    // Appended to `translation` after ", ", trimmed; nothing when nothing is left.
    bool Append(std::string_view line, std::string& translation) {
        const std::size_t before = translation.size();
        if (before) translation += ", ";
        const std::size_t start = translation.size();
        paired_ = true;
        Strip(line, translation, start);
        while (translation.size() > start && translation.back() == ' ') translation.pop_back();
        if (translation.size() == start) translation.resize(before);
        return paired_;
    }

private:
    static char Closing(char c) { return c == '<' ? '>' : c == '[' ? ']' : c == '{' ? '}' : 0; }
    static bool IsClosing(char c) { return c == '>' || c == ']' || c == '}'; }

    // The text outside notes into `out`. A closing bracket closes the nearest open one of
    // its kind (those opened within it go with it); one that closes none is dropped. Those
    // left open at the end are dropped, and the text between them read again: nothing in
    // it closed a bracket opened before it, so it is read once more at most.
    void Strip(std::string_view line, std::string& out, std::size_t start) {
        depth_ = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (const char closing = Closing(c)) {
                if (depth_ < kDeepest)
                    open_[depth_++] = {closing, i, out.size()};
                else
                    paired_ = false;  // deeper than any note: dropped as unpaired
                continue;
            }
            if (IsClosing(c)) {
                std::size_t k = depth_;
                while (k > 0 && open_[k - 1].closing != c) --k;
                if (k == 0)
                    paired_ = false;
                else
                    depth_ = k - 1;
                continue;
            }
            if (depth_ == 0 && (c != ' ' || out.size() > start)) out += c;
        }
        if (depth_ == 0) return;
        paired_ = false;
        const std::size_t left = depth_;
        Open unpaired[kDeepest];
        std::copy(open_, open_ + left, unpaired);
        out.resize(unpaired[0].kept);
        for (std::size_t k = 0; k < left; ++k) {
            const std::size_t from = unpaired[k].at + 1, to = k + 1 < left ? unpaired[k + 1].at : line.size();
            Strip(line.substr(from, to - from), out, start);
        }
    }

    static constexpr std::size_t kDeepest = 32;
    struct Open {
        char closing;
        std::size_t at;    // in the line
        std::size_t kept;  // the text's size when it opened
    };
    Open open_[kDeepest];
    std::size_t depth_ = 0;
    bool paired_ = true;
};

// The number of the sense a line starts with ("2. creux", or "2." alone), 0 when it starts
// with none; `rest` is what follows it. No sense number is part of a translation.
unsigned SenseNumber(std::string_view line, std::string_view& rest) {
    std::size_t digits = 0;
    unsigned number = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
        number = number * 10 + static_cast<unsigned>(line[digits++] - '0');
    if (digits == 0 || digits > 3 || digits == line.size() || line[digits] != '.') return 0;
    if (digits + 1 < line.size() && line[digits + 1] != ' ') return 0;  // "1.5 litre"
    rest = line.substr(std::min(digits + 2, line.size()));
    return number;
}

// A line without the number of a further sense that some dictionaries put at its end
// ("la majeur 2."), or that stands alone on it (" 3.").
std::string_view WithoutTrailingSenseNumber(std::string_view line) {
    std::size_t end = line.size();
    if (end < 2 || line[end - 1] != '.') return line;
    std::size_t digits = end - 1;
    while (digits > 0 && line[digits - 1] >= '0' && line[digits - 1] <= '9') --digits;
    if (digits == end - 1 || end - 1 - digits > 3 || (digits > 0 && line[digits - 1] != ' ')) return line;
    while (digits > 0 && line[digits - 1] == ' ') --digits;
    return line.substr(0, digits);
}

// A line without the pronunciations some dictionaries give behind a translation
// ("maison /mɛzɔ̃/"): a slash at the start or after a blank, up to the next slash that ends
// the line or comes before a blank, a comma or a note. Slashes within a word ("AC/DC",
// "km/h") and between blanks ("either / or") are text. `line` itself when it has no slash,
// else `text`.
std::string_view WithoutPronunciations(std::string_view line, std::string& text) {
    if (!Holds(line, '/')) return line;
    text.clear();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '/' && (i == 0 || line[i - 1] == ' ') && i + 1 < line.size() && line[i + 1] != ' ') {
            const std::size_t close = line.find('/', i + 1);
            const std::size_t after = close + 1;
            if (close != std::string_view::npos && line.substr(i, close - i).find(',') == std::string_view::npos &&
                (after == line.size() || line[after] == ' ' || line[after] == ',' || line[after] == '<')) {
                while (!text.empty() && text.back() == ' ') text.pop_back();
                i = close;
                continue;
            }
        }
        text += line[i];
    }
    return text;
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

// A line without its break (LF, or CR LF, as LineAt takes them), and where its first three
// tabs are (npos for those it lacks), found in one pass: a search call per field of the
// index, each a call of the C runtime's, was a good part of reading a dictionary.
struct TabbedLine {
    std::string_view text;
    std::size_t next;  // where the next line starts
    std::size_t tabs[3];
};

// Whether any of the eight bytes is `byte`.
bool HoldsByte(std::uint64_t eight, char byte) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t x = eight ^ (ones * static_cast<unsigned char>(byte));
    return ((x - ones) & ~x & (ones << 7)) != 0;
}

TabbedLine TabbedLineAt(std::string_view text, std::size_t at) {
    TabbedLine line{{}, text.size(), {std::string_view::npos, std::string_view::npos, std::string_view::npos}};
    std::size_t end = at, tabs = 0;
    while (end < text.size()) {
        // Eight bytes at a time past those that hold no line break and no tab still wanted.
        std::uint64_t eight;
        if (end + 8 <= text.size() && (std::memcpy(&eight, text.data() + end, 8), !HoldsByte(eight, '\n')) &&
            (tabs == 3 || !HoldsByte(eight, '\t'))) {
            end += 8;
            continue;
        }
        if (text[end] == '\n') break;
        if (text[end] == '\t' && tabs < 3) line.tabs[tabs++] = end - at;
        ++end;
    }
    if (end < text.size()) line.next = end + 1;
    if (end > at && text[end - 1] == '\r') --end;
    line.text = text.substr(at, end - at);
    return line;
}

// Marks a dictionary of our own export, whose definitions are a word and a line of its
// translations as they are stored: brackets there are text, not a dictionary's notes.
constexpr std::string_view kLiteralEntry = "00-database-literal-translations";

// How a dictionary's definitions are laid out.
enum class Layout {
    Classic,  // translations flush left; examples, synonyms and notes indented
    // Built from Wiktionary: each sense's translations ("1. arracher") and then lines in the
    // headword's own language that define it, flush left as well.
    Wiktionary,
    Literal,  // our own export: the word and its translations as they stand
};

// The room ParseDefinition uses, kept by the caller so that a dictionary's entries share it.
struct ParseRoom {
    std::string text, linked;
    NoteStripper notes;
};

// One flush-left line of translations, without what is not one.
bool AppendTranslations(std::string_view line, std::string& translation, ParseRoom& room) {
    return room.notes.Append(WithoutPronunciations(WithoutTrailingSenseNumber(line), room.text), translation);
}

// A Wiktionary sense's line of translations that names the entry it links
// ("énerver#s’énerver": the verb and the form the sense has): the form, which is what the
// sense means.
std::string_view WithoutLinkTargets(std::string_view line, std::string& text) {
    if (!Holds(line, '#')) return line;
    text.clear();
    std::size_t pieceStart = 0;  // in `text`
    for (char c : line) {
        if (c == '#') {
            text.resize(pieceStart);
            continue;
        }
        text += c;
        if (c == ',') pieceStart = text.size();
    }
    return text;
}

// A definition: the headword (and its pronunciation between slashes) on the first line,
// then the translations as the layout has them. False when a bracket of a note had no pair
// (and was dropped).
bool ParseDefinition(std::string_view definition, Layout layout, std::string& word, std::string& translation,
                     ParseRoom& room) {
    bool paired = true;
    int body = -1;       // the lines read after the headword's
    unsigned sense = 0;  // of a Wiktionary entry, the last sense whose translations were read
    for (std::size_t at = 0; at < definition.size();) {
        const TabbedLine lineRead = TabbedLineAt(definition, at);
        at = lineRead.next;
        const std::string_view line = lineRead.text;
        if (++body == 0) {
            std::size_t end = line.size();
            for (std::size_t i = 0; layout != Layout::Literal && i + 1 < line.size(); ++i)
                if (line[i] == ' ' && line[i + 1] == '/') {
                    end = i;
                    break;
                }
            word.assign(line.substr(0, end));
        } else if (layout == Layout::Literal) {
            if (line.empty()) continue;
            if (!translation.empty()) translation += ", ";
            translation += line;
        } else if (layout == Layout::Wiktionary) {
            // A sense's translations come first, on the entry's first line or numbered; a line
            // numbered otherwise is a definition that happens to start with a number.
            std::string_view rest = line;
            const unsigned number = SenseNumber(line, rest);
            if (body == 1)
                sense = number > 1 ? number : 1;
            else if (number != 0 && number == sense + 1)
                sense = number;
            else
                continue;
            paired = AppendTranslations(WithoutLinkTargets(rest, room.linked), translation, room) && paired;
        } else if (!line.empty() && (line[0] != ' ' || (line.size() > 1 && line[1] == '[')) && line[0] != '\t') {
            std::string_view rest = line;
            SenseNumber(line, rest);
            paired = AppendTranslations(rest, translation, room) && paired;
        }
    }
    return paired;
}

}  // namespace

namespace {

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
