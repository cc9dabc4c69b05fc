#include "core/exchange/formats.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include "core/text/fixed_text.h"
#include "core/text/html_entities.h"
#include "core/text/lines.h"
#include "core/text/utf8.h"
#include "platform/xml.h"

namespace {

std::string_view WithoutBom(std::string_view text) {
    return text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? text.substr(kUtf8Bom.size()) : text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string Where(int line) { return "line " + std::to_string(line) + ": "; }

// Splits records of separated fields, quoted as spreadsheets quote them: a field that
// starts with a quote runs to the closing quote, "" standing for one quote, and may hold
// separators and line ends. CRLF, LF and a lone CR all end a record.
class FieldReader {
public:
    FieldReader(std::string_view text, char separator, int firstLine = 1)
        : text_(text), separator_(separator), line_(firstLine) {}

    // The next record's fields and the line it starts on; false at the end or on an
    // unclosed quote (`error` then says where).
    bool Next(std::vector<std::string>& fields, int& line, std::string& error) {
        fields.clear();
        if (pos_ >= text_.size()) return false;
        line = line_;
        std::string field;
        for (;;) {
            if (pos_ < text_.size() && text_[pos_] == '"') {
                const int opened = line_;
                ++pos_;
                for (;;) {
                    if (pos_ >= text_.size()) {
                        error = Where(opened) + "a quoted field is not closed";
                        return false;
                    }
                    const char c = text_[pos_++];
                    if (c == '"') {
                        if (pos_ < text_.size() && text_[pos_] == '"') {
                            field += '"';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) ++line_;
                    field += c;
                }
            }
            // Unquoted text, or what follows a closing quote, up to the separator or line end.
            while (pos_ < text_.size() && text_[pos_] != separator_ && text_[pos_] != '\n' && text_[pos_] != '\r')
                field += text_[pos_++];
            fields.push_back(std::move(field));
            field.clear();
            if (pos_ >= text_.size()) return true;
            const char c = text_[pos_++];
            if (c == separator_) continue;
            if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
            ++line_;
            return true;
        }
    }

    int line() const { return line_; }
    std::size_t position() const { return pos_; }
    void SkipLine() {
        pos_ += LineAt(text_, pos_).size();
        ++line_;
    }
    std::string_view RestOfLine() const { return LineAt(text_, pos_).text; }

private:
    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
    int line_;
};

bool IsBlankRecord(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& f) { return f.find_first_not_of(" \t") == std::string::npos; });
}

// Text with a UTF-16 byte-order mark as UTF-8; false for text without one. A surrogate
// without its other half, or a last odd byte, becomes U+FFFD, which no code page holds,
// so its entry is reported rather than cut.
bool FromUtf16(std::string_view text, std::string& utf8) {
    if (text.size() < 2) return false;
    const unsigned char b0 = static_cast<unsigned char>(text[0]), b1 = static_cast<unsigned char>(text[1]);
    const bool little = b0 == 0xFF && b1 == 0xFE;
    if (!little && !(b0 == 0xFE && b1 == 0xFF)) return false;
    utf8.clear();
    utf8.reserve(text.size());
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const unsigned char lo = static_cast<unsigned char>(text[i + (little ? 0 : 1)]);
        const unsigned char hi = static_cast<unsigned char>(text[i + (little ? 1 : 0)]);
        return static_cast<std::uint32_t>(hi) << 8 | lo;
    };
    std::size_t i = 2;
    for (; i + 1 < text.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < text.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(utf8, code);
    }
    if (i < text.size()) AppendUtf8(utf8, 0xFFFD);
    return true;
}

bool HasNonAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Whether text without a byte-order mark is UTF-8, by its lines: those with letters beyond
// ASCII that are valid UTF-8 against those that are not. A few stray bytes in a UTF-8 file,
// or a few letter pairs in a code-page file that happen to be valid, do not turn the rest.
bool MostlyUtf8(std::string_view text) {
    std::size_t utf8Lines = 0, otherLines = 0;
    for (const TextLine& line : SplitLines(text, LineBreaks::LineFeed)) {
        if (!HasNonAscii(line.text)) continue;
        ++(ValidUtf8(line.text) ? utf8Lines : otherLines);
    }
    return otherLines == 0 || utf8Lines > otherLines;
}

// Marks the entries whose text does not fit the file's encoding: they are reported, the
// rest is read as the file is.
void RefuseMisfits(ForeignFile& file) {
    for (ForeignEntry& e : file.entries) {
        const std::string both = e.word + e.translation;
        if (file.utf8 && !ValidUtf8(both))
            e.refused = "not UTF-8 text, as the rest of the file is";
        else if (!file.utf8 && HasNonAscii(both) && ValidUtf8(both))
            e.refused = "UTF-8 text, while the rest of the file is in the pair's code page";
    }
}

// Whether a flashcard file without an "#html" header holds HTML, as the flashcard program
// exports it by default: a tag ("<br>", "</b>", "<div class=...>") or a named or numbered
// entity that HTML defines.
bool LooksLikeHtml(std::string_view text) {
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<') {
            std::size_t n = i + 1 < text.size() && text[i + 1] == '/' ? i + 2 : i + 1;
            const std::size_t nameStart = n;
            while (n < text.size() && (letter(text[n]) || (n > nameStart && text[n] >= '0' && text[n] <= '9'))) ++n;
            if (n > nameStart && n < text.size() && (text[n] == '>' || text[n] == ' ' || text[n] == '/') &&
                text.find('>', n) != std::string_view::npos)
                return true;
        } else if (text[i] == '&') {
            const std::size_t end = text.find(';', i);
            if (end == std::string_view::npos || end - i > 33 || end == i + 1) continue;
            const std::string_view name = text.substr(i + 1, end - i - 1);
            if (name[0] == '#' ? name.size() > 1 && name.find_first_not_of("0123456789xX", 1) == std::string_view::npos
                               : HtmlNamedEntity(name) != nullptr)
                return true;
        }
    }
    return false;
}

// A flashcard field without the program's own markup: sound references ("[sound:a.mp3]")
// go, a cloze ("{{c1::answer::hint}}") leaves its answer.
std::string WithoutCardMarkup(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size();) {
        if (field.substr(i, 7) == "[sound:") {
            const std::size_t end = field.find(']', i);
            if (end != std::string_view::npos) {
                i = end + 1;
                continue;
            }
        }
        if (field.substr(i, 3) == "{{c" && i + 3 < field.size() && field[i + 3] >= '0' && field[i + 3] <= '9') {
            const std::size_t colons = field.find("::", i);
            const std::size_t end = field.find("}}", i);
            if (colons != std::string_view::npos && end != std::string_view::npos && colons < end &&
                field.find_first_not_of("0123456789", i + 3) == colons) {
                std::string_view answer = field.substr(colons + 2, end - colons - 2);
                answer = answer.substr(0, answer.find("::"));  // the hint is not the answer
                text += answer;
                i = end + 2;
                continue;
            }
        }
        text += field[i++];
    }
    return text;
}

// A field for a separated file: quoted when it holds the separator, a quote, a line end,
// or starts like the comment sign of the flashcard program's headers, a spreadsheet's
// separator line ("sep=;", which a word "sep" and a separator "=" would make too) or, first
// in the file, a UTF-16 byte-order mark (a word "\xFF\xFE..." in a Western pair).
std::string Quoted(const std::string& field, char separator) {
    const auto starts = [&](const char* prefix) { return field.compare(0, std::strlen(prefix), prefix) == 0; };
    if (field.find_first_of(std::string("\"\r\n") + separator) == std::string::npos && !starts("#") && !starts("sep") &&
        !starts("\xFF\xFE") && !starts("\xFE\xFF"))
        return field;
    std::string quoted = "\"";
    for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::optional<ExchangeFormat> FormatOfFile(std::string_view path, std::string_view head) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
    // Plain text and the flashcard program's share their extensions; the head tells them apart.
    const std::optional<ExchangeFormat> format = FormatWithExtension(path.substr(dot + 1));
    if (format != ExchangeFormat::Tsv && format != ExchangeFormat::Anki) return format;
    const std::string_view text = WithoutBom(head);
    for (const char* header : {"#separator:", "#html:", "#columns:", "#notetype", "#deck", "#tags", "#guid"})
        if (text.substr(0, std::strlen(header)) == header) return ExchangeFormat::Anki;
    return ExchangeFormat::Tsv;
}

char SeparatorNamed(std::string_view name) {
    static const std::pair<const char*, char> kNamed[] = {{"tab", '\t'},  {"comma", ','}, {"semicolon", ';'},
                                                          {"space", ' '}, {"pipe", '|'},  {"colon", ':'}};
    for (const auto& [named, separator] : kNamed)
        if (EqualsIgnoringAsciiCase(name, named)) return separator;
    // A quote or a line end cannot separate fields.
    if (name.size() == 1 && name[0] != '"' && name[0] != '\r' && name[0] != '\n' && name[0] != '\0') return name[0];
    return 0;
}

std::string SeparatorName(char separator) {
    switch (separator) {
        case '\t':
            return "tab";
        case ',':
            return "comma";
        case ';':
            return "semicolon";
        default:
            return std::string(1, separator);
    }
}

char DetectSeparator(std::string_view text, char preferred) {
    constexpr char kCandidates[] = {'\t', ';', ','};
    constexpr int kLines = 50;
    // Per candidate: lines it occurs on, and lines with the same count as the first line.
    int lines[3] = {}, regular[3] = {}, first[3] = {-1, -1, -1};
    int count[3] = {};
    int seen = 0;
    bool quoted = false;
    for (std::size_t i = 0; i <= text.size() && seen < kLines; ++i) {
        const char c = i < text.size() ? text[i] : '\n';
        if (c == '"') quoted = !quoted;
        if (quoted && i < text.size()) continue;
        if (c == '\n' || c == '\r') {
            if (count[0] + count[1] + count[2] > 0) {
                ++seen;
                for (int k = 0; k < 3; ++k) {
                    if (count[k] > 0) ++lines[k];
                    if (first[k] < 0 && count[k] > 0) first[k] = count[k];
                    if (count[k] > 0 && count[k] == first[k]) ++regular[k];
                }
            }
            count[0] = count[1] = count[2] = 0;
            quoted = false;  // an unclosed quote must not hide the rest of the sample
            continue;
        }
        for (int k = 0; k < 3; ++k)
            if (c == kCandidates[k]) ++count[k];
    }
    int best = -1;
    for (int k = 0; k < 3; ++k) {
        if (lines[k] == 0) continue;
        if (best < 0 || lines[k] > lines[best] || (lines[k] == lines[best] && regular[k] > regular[best])) best = k;
    }
    for (int k = 0; k < 3; ++k)
        if (kCandidates[k] == preferred && best >= 0 && lines[k] == lines[best] && regular[k] == regular[best])
            return preferred;
    return best < 0 ? preferred : kCandidates[best];
}

bool ReadDelimited(std::string_view text, char separator, ForeignFile& file, std::string& error, char preferred) {
    file = ForeignFile{};
    error.clear();  // the result is whether an error was met
    std::string decoded;
    const bool utf16 = FromUtf16(text, decoded);
    if (utf16) text = decoded;
    const bool bom = text.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    text = WithoutBom(text);
    // Text that is not UTF-8 is taken to be in the pair's own code page, as the export writes it.
    file.utf8 = utf16 || bom || MostlyUtf8(text);
    file.encoding = utf16 ? "UTF-16" : bom ? "UTF-8 (marked)" : file.utf8 ? "UTF-8" : "the pair's code page";
    int firstLine = 1;
    // Spreadsheets name the separator in a first line of its own.
    if (const TextLine first = LineAt(text, 0); first.text.size() == 5 && first.text.substr(0, 4) == "sep=") {
        if (!separator) separator = SeparatorNamed(first.text.substr(4));
        text.remove_prefix(first.size());
        firstLine = 2;
    }
    if (!separator) separator = DetectSeparator(text, preferred);
    file.separator = separator;
    FieldReader reader(text, separator, firstLine);
    std::vector<std::string> fields;
    int line = 0;
    while (reader.Next(fields, line, error)) {
        if (IsBlankRecord(fields)) continue;
        file.entries.push_back({line, fields[0], fields.size() > 1 ? fields[1] : std::string(), {}});
    }
    RefuseMisfits(file);
    return error.empty();
}

bool ReadAnki(std::string_view text, ForeignFile& file, std::string& error) {
    file = ForeignFile{};
    error.clear();
    std::string decoded;
    const bool utf16 = FromUtf16(text, decoded);
    if (utf16) text = decoded;
    text = WithoutBom(text);
    file.encoding = utf16 ? "UTF-16" : "UTF-8";  // the program writes nothing else
    char separator = '\t';
    std::optional<bool> html;   // none: as the fields show
    std::set<int> metaColumns;  // 1-based columns that hold no field: note type, deck, tags, id
    FieldReader probe(text, '\n');
    while (probe.position() < text.size() && probe.RestOfLine().substr(0, 1) == "#") {
        const std::string_view header = probe.RestOfLine();
        const int line = probe.line();
        const std::size_t colon = header.find(':');
        if (colon == std::string_view::npos) {
            error = Where(line) + "a header line without a colon";
            return false;
        }
        const std::string name = Lower(header.substr(1, colon - 1));
        const std::string_view value = header.substr(colon + 1);
        if (name == "separator") {
            separator = SeparatorNamed(value);
            if (!separator) {
                error = Where(line) + "an unknown separator \"" + std::string(value) + "\"";
                return false;
            }
        } else if (name == "html") {
            html = Lower(value) == "true";
        } else if (name.size() > 7 && name.compare(name.size() - 7, 7, " column") == 0) {
            const int column = LeadingNumber(value);
            if (column < 1) {
                error = Where(line) + "a column header without a column number";
                return false;
            }
            metaColumns.insert(column);
        }
        probe.SkipLine();
    }
    const std::string_view body = text.substr(probe.position());
    if (!html) html = LooksLikeHtml(body);
    FieldReader reader(body, separator, probe.line());
    std::vector<std::string> fields;
    int line = 0;
    while (reader.Next(fields, line, error)) {
        if (IsBlankRecord(fields)) continue;
        std::vector<std::string> kept;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!metaColumns.count(static_cast<int>(i) + 1))
                kept.push_back(WithoutCardMarkup(*html ? HtmlToText(fields[i]) : fields[i]));
        kept.resize(std::max<std::size_t>(kept.size(), 2));
        file.entries.push_back({line, kept[0], kept[1], {}});
    }
    RefuseMisfits(file);
    return error.empty();
}

std::string HtmlToText(std::string_view html) {
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t end = html.find('>', i);
            if (end == std::string_view::npos) break;  // an unclosed tag ends the field
            std::string tag = Lower(html.substr(i + 1, end - i - 1));
            const std::size_t nameEnd = tag.find_first_of(" /\t");
            const std::string name = tag.substr(tag[0] == '/' ? 1 : 0, nameEnd == 0 ? std::string::npos : nameEnd);
            for (const char* block : {"br", "div", "p", "li", "tr"})
                if (name == block || name.rfind(std::string(block) + " ", 0) == 0) text += '\n';
            i = end + 1;
        } else if (c == '&') {
            // The longest name HTML defines has 31 letters.
            const std::size_t end = html.find(';', i);
            if (end != std::string_view::npos && end - i <= 33) {
                const std::string entity(html.substr(i + 1, end - i - 1));
                std::uint32_t code = 0;
                if (entity.size() > 1 && entity[0] == '#') {
                    const bool hex = entity[1] == 'x' || entity[1] == 'X';
                    code = static_cast<std::uint32_t>(
                        std::strtoul(entity.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10));
                    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0;
                } else if (const char* named = HtmlNamedEntity(entity)) {
                    // A no-break space is a blank in a word list.
                    text += std::string_view(named) == "\xC2\xA0" ? " " : named;
                    i = end + 1;
                    continue;
                }
                if (code != 0) {
                    AppendUtf8(text, code);
                    i = end + 1;
                    continue;
                }
            }
            text += c;
            ++i;
        } else {
            text += c;
            ++i;
        }
    }
    return text;
}

namespace {

struct KvtmlEntry {
    int line;
    std::map<std::string, std::string> texts;  // by identifier
};

// The file's languages and, when `entries` is given, its entries' texts.
bool ParseKvtml(std::string_view text, std::vector<KvtmlLanguage>& languages, std::vector<KvtmlEntry>* entries,
                std::string& error) {
    languages.clear();
    std::vector<std::string> path;
    std::string translationId;
    bool root = false;
    const bool read = platform::ReadXml(
        text,
        [&](const platform::XmlNode& node) {
            using Kind = platform::XmlNode::Kind;
            if (node.kind == Kind::Start) {
                if (path.empty()) root = node.name == "kvtml";
                std::string id;
                for (const auto& [name, value] : node.attributes)
                    if (name == "id") id = value;
                const std::string parent = path.empty() ? "" : path.back();
                if (node.name == "identifier" && parent == "identifiers") languages.push_back({id, "", ""});
                if (entries && node.name == "entry" && parent == "entries") entries->push_back({node.line, {}});
                if (node.name == "translation" && parent == "entry") translationId = id;
                path.push_back(node.name);
            } else if (node.kind == Kind::End) {
                if (!path.empty()) path.pop_back();
            } else if (path.size() >= 2) {
                const std::string& element = path.back();
                const std::string& parent = path[path.size() - 2];
                if (parent == "identifier" && !languages.empty()) {
                    if (element == "name") languages.back().name += node.text;
                    if (element == "locale") languages.back().locale += node.text;
                } else if (entries && parent == "translation" && element == "text" && !entries->empty() &&
                           path.size() >= 3 && path[path.size() - 3] == "entry") {
                    entries->back().texts[translationId] += node.text;
                }
            }
        },
        error);
    if (!read) return false;
    if (!root) {
        error = "not a KVTML file: its root element is not <kvtml>";
        return false;
    }
    if (languages.size() < 2) {
        error = "the file names fewer than two languages (<identifier>)";
        return false;
    }
    return true;
}

}  // namespace

bool ReadKvtmlLanguages(std::string_view text, std::vector<KvtmlLanguage>& languages, std::string& error) {
    return ParseKvtml(text, languages, nullptr, error);
}

int FindKvtmlLanguage(const std::vector<KvtmlLanguage>& languages, std::string_view wanted, int other) {
    if (wanted.empty()) return -1;
    const int count = static_cast<int>(languages.size());
    for (int i = 0; i < count; ++i)
        if (i != other && languages[i].id == wanted) return i;
    for (int i = 0; i < count; ++i)
        if (i != other && (EqualsIgnoringAsciiCase(languages[i].name, wanted) ||
                           EqualsIgnoringAsciiCase(languages[i].locale, wanted)))
            return i;
    return -1;
}

KvtmlMatch MatchKvtmlLanguages(const std::vector<KvtmlLanguage>& languages, std::string_view first,
                               std::string_view second) {
    KvtmlMatch match;
    match.first = FindKvtmlLanguage(languages, first);
    match.second = FindKvtmlLanguage(languages, second, match.first);
    match.choose = languages.size() > 2 || match.first < 0 || match.second < 0;
    return match;
}

std::string ListKvtmlLanguages(const std::vector<KvtmlLanguage>& languages) {
    std::string text;
    for (const KvtmlLanguage& l : languages) {
        if (!text.empty()) text += ", ";
        text += l.id;
        if (!l.name.empty() || !l.locale.empty())
            text += " (" + l.name + (!l.name.empty() && !l.locale.empty() ? ", " : "") + l.locale + ")";
    }
    return text;
}

bool ReadKvtml(std::string_view text, const std::string& first, const std::string& second, ForeignFile& file,
               std::string& error) {
    file = ForeignFile{};
    std::vector<KvtmlLanguage> languages;
    std::vector<KvtmlEntry> entries;
    if (!ParseKvtml(text, languages, &entries, error)) return false;
    const KvtmlMatch match = MatchKvtmlLanguages(languages, first, second);
    const int a = match.first, b = match.second;
    if (a < 0 || b < 0) {
        const std::string& missing = a < 0 ? first : second;
        error = (a >= 0 && FindKvtmlLanguage(languages, second) == a
                     ? "\"" + second + "\" is the same language of the file as \"" + first + "\""
                     : "the file has no language \"" + missing + "\"") +
                "; its languages are " + ListKvtmlLanguages(languages);
        return false;
    }
    const KvtmlLanguage& x = languages[a];
    const KvtmlLanguage& y = languages[b];
    file.languages = "identifier " + x.id + " (" + x.name + ") and identifier " + y.id + " (" + y.name + ")";
    for (KvtmlEntry& entry : entries) file.entries.push_back({entry.line, entry.texts[x.id], entry.texts[y.id], {}});
    return true;
}

namespace {

// dictd's numbers: base 64 digits, most significant first.
bool DecodeNumber(std::string_view digits, std::uint64_t& value) {
    static const std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    value = 0;
    if (digits.empty() || digits.size() > 10) return false;
    for (char c : digits) {
        const std::size_t d = kDigits.find(c);
        if (d == std::string_view::npos) return false;
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

// Appends a line of translations without its grammar marks ("<adj>", "[chem.]", "{pl}"),
// which are notes, not translations; trimmed, and nothing when nothing is left.
void AppendWithoutNotes(std::string_view line, std::string& translation) {
    const std::size_t before = translation.size();
    if (before) translation += ", ";
    const std::size_t start = translation.size();
    char closing = 0;
    for (char c : line) {
        if (closing) {
            if (c == closing) closing = 0;
        } else if (c == '<') {
            closing = '>';
        } else if (c == '[') {
            closing = ']';
        } else if (c == '{') {
            closing = '}';
        } else if (c != ' ' || translation.size() > start) {
            translation += c;
        }
    }
    while (translation.size() > start && translation.back() == ' ') translation.pop_back();
    if (translation.size() == start) translation.resize(before);
}

// A line without the sense number that starts it ("2. creux"): each sense is translations
// like any other line, and the number is not part of any of them.
std::string_view WithoutSenseNumber(std::string_view line) {
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits == 0 || digits > 3 || line.substr(digits, 2) != ". ") return line;
    return line.substr(digits + 2);
}

// A line without the pronunciations some dictionaries give behind a translation
// ("maison /mɛzɔ̃/"): a slash at the start or after a blank, up to the next slash that ends
// the line or comes before a blank, a comma or a note. Slashes within a word ("AC/DC",
// "km/h") and between blanks ("either / or") are text. `line` itself when it has no slash,
// else `text`.
std::string_view WithoutPronunciations(std::string_view line, std::string& text) {
    if (line.find('/') == std::string_view::npos) return line;
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
    // False when the offset was there already.
    bool Insert(std::uint32_t offset) {
        const std::uint32_t kept = offset + 1;
        for (std::size_t slot = (kept * 0x9E3779B97F4A7C15ull) >> 32 & mask_;; slot = (slot + 1) & mask_) {
            if (slots_[slot] == kept) return false;
            if (slots_[slot] == 0) {
                slots_[slot] = kept;
                return true;
            }
        }
    }

private:
    std::vector<std::uint32_t> slots_;
    std::size_t mask_ = 0;
};

// Marks a dictionary of our own export, whose definitions are a word and a line of its
// translations as they are stored: brackets there are text, not a dictionary's notes.
constexpr std::string_view kLiteralEntry = "00-database-literal-translations";

// A definition: the headword (and its pronunciation between slashes) on the first line,
// the translations on the lines that follow flush left or behind a note ("\x20[Am.] ...");
// other indented lines are examples, synonyms, references and notes. In a `literal`
// dictionary the lines are the word and its translations as they stand.
// `scratch` is room the caller keeps, so that a dictionary's entries share one.
void ParseDefinition(std::string_view definition, bool literal, std::string& word, std::string& translation,
                     std::string& scratch) {
    bool first = true;
    for (std::size_t at = 0; at < definition.size();) {
        const TextLine lineRead = LineAt(definition, at, LineBreaks::LineFeed);
        at += lineRead.size();
        const std::string_view line = lineRead.text;
        if (first) {
            word.assign(line.substr(0, literal ? std::string_view::npos : line.find(" /")));
            first = false;
        } else if (literal) {
            if (line.empty()) continue;
            if (!translation.empty()) translation += ", ";
            translation += line;
        } else if (!line.empty() && (line[0] != ' ' || (line.size() > 1 && line[1] == '[')) && line[0] != '\t') {
            AppendWithoutNotes(WithoutPronunciations(WithoutSenseNumber(line), scratch), translation);
        }
    }
}

}  // namespace

namespace {

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
    const bool literal = index.substr(0, kLiteralEntry.size() + 1) == std::string(kLiteralEntry) + "\t" ||
                         index.find("\n" + std::string(kLiteralEntry) + "\t") != std::string_view::npos;
    const std::size_t lines = static_cast<std::size_t>(std::count(index.begin(), index.end(), '\n')) + 1;
    sink.Expect(lines);
    OffsetSet seen(lines);  // several headwords may share a definition
    // One entry's room serves them all: its strings keep their capacity from one to the next.
    ForeignEntry entry;
    int lineNumber = 0;
    std::string scratch;
    for (std::size_t at = 0; at < index.size();) {
        const TextLine lineRead = LineAt(index, at, LineBreaks::LineFeed);
        at += lineRead.size();
        const std::string_view line = lineRead.text;
        ++lineNumber;
        if (line.empty()) continue;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        std::uint64_t offset = 0, length = 0;
        if (tab2 == std::string_view::npos || !DecodeNumber(line.substr(tab1 + 1, tab2 - tab1 - 1), offset) ||
            !DecodeNumber(line.substr(tab2 + 1, line.find('\t', tab2 + 1) - tab2 - 1), length))
            return fail(Where(lineNumber) + "not an index line (headword, offset and length)");
        // Past the largest text an import takes, the definition cannot be in the text.
        const std::uint64_t end = offset + length;
        if (!(text = dict.Upto(offset > kMaxImportText || length > kMaxImportText ? std::string_view::npos
                                                                                  : static_cast<std::size_t>(end),
                               error)))
            return false;
        if (offset > text->size() || length > text->size() - offset)
            return fail(Where(lineNumber) + "the definition lies beyond the end of the dictionary");
        // The database's own entries describe the dictionary.
        // (The first byte is looked at first: a comparison is a call of the C runtime's.)
        if (line[0] == '0' && (line.substr(0, 11) == "00-database" || line.substr(0, 10) == "00database")) continue;
        if (offset >= 0xFFFFFFFFu) return fail("the dictionary is larger than 4 GB");
        if (!seen.Insert(static_cast<std::uint32_t>(offset))) continue;
        entry.line = lineNumber;
        entry.word.clear();
        entry.translation.clear();
        ParseDefinition(text->substr(offset, length), literal, entry.word, entry.translation, scratch);
        if (entry.word.empty()) entry.word.assign(line.substr(0, tab1));
        sink.Take(entry);
    }
    if (!(text = dict.Upto(std::string_view::npos, error))) return false;
    if (text->size() >= 0xFFFFFFFFu) {
        error = "the dictionary is larger than 4 GB";
        return false;
    }
    if (!ValidUtf8(*text)) {
        error = "the dictionary is not UTF-8 text";
        return false;
    }
    return true;
}

std::string SizeName(std::size_t bytes) {
    static const char* const kUnits[] = {"bytes", "KB", "MB", "GB"};
    std::size_t unit = 0;
    while (unit + 1 < std::size(kUnits) && bytes >= 1024 && bytes % 1024 == 0) {
        bytes /= 1024;
        ++unit;
    }
    return std::to_string(bytes) + " " + kUnits[unit];
}

bool Gunzip(std::string_view bytes, UnpackedText& text, std::string& error, std::size_t limit) {
    text = UnpackedText{};
    auto allocate = [&](std::size_t size) {
        text.bytes.reset(new char[std::max<std::size_t>(size, 1)]);
        text.size = size;
    };
    if (bytes.size() < 18 || static_cast<unsigned char>(bytes[0]) != 0x1F ||
        static_cast<unsigned char>(bytes[1]) != 0x8B) {
        allocate(bytes.size());
        std::memcpy(text.bytes.get(), bytes.data(), bytes.size());
        return true;
    }
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) {
        error = "the decompressor cannot start";
        return false;
    }
    // The stream is ended however the text's allocation fares.
    struct Ender {
        z_stream& z;
        ~Ender() { inflateEnd(&z); }
    } ender{z};
    auto start = [&] {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        z.avail_in = static_cast<uInt>(bytes.size());
    };
    // Inflates into out[produced, size) until it is full or the stream ends or fails.
    auto fill = [&](char* out, std::size_t size, std::size_t& produced) {
        int status = Z_OK;
        while (status == Z_OK && produced < size) {
            const uInt room = static_cast<uInt>(std::min(size - produced, std::size_t{1} << 30));
            z.next_out = reinterpret_cast<Bytef*>(out + produced);
            z.avail_out = room;
            status = inflate(&z, Z_NO_FLUSH);
            produced += room - z.avail_out;
            if (status == Z_BUF_ERROR && z.avail_in == 0) break;
        }
        return status;
    };
    auto tooLong = [&] {
        text = UnpackedText{};
        error =
            "the compressed dictionary unpacks to more than " + SizeName(limit) + " of text, more than an import takes";
        return false;
    };
    auto damaged = [&] {
        text = UnpackedText{};
        error = "the compressed dictionary is damaged";
        return false;
    };
    // The last four bytes give the text's size (modulo 4 GB): one allocation for the text,
    // one byte longer so that a text of that size ends inside it. A bomb's trailer may say
    // anything, so neither it nor a ratio beyond what text packs to passes the limit.
    const auto* end = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size());
    const std::size_t told = end[-4] | end[-3] << 8 | end[-2] << 16 | static_cast<std::size_t>(end[-1]) << 24;
    allocate(std::min({told, bytes.size() * 20, limit}) + 1);
    start();
    std::size_t produced = 0;
    int status = fill(text.bytes.get(), text.size, produced);
    if (produced > limit) return tooLong();
    if (status == Z_STREAM_END) {
        text.size = produced;
        return true;
    }
    if (status != Z_OK) return damaged();
    // More text than expected: its length is counted without keeping it, and only a text
    // within the limit is inflated once more, into room for exactly that.
    char scratch[1 << 16];
    while (status == Z_OK && produced <= limit) {
        std::size_t counted = 0;
        status = fill(scratch, std::min(sizeof scratch, limit + 1 - produced), counted);
        produced += counted;
        if (counted == 0 && status == Z_OK) status = Z_BUF_ERROR;
    }
    if (produced > limit) return tooLong();
    if (status != Z_STREAM_END) return damaged();
    text = UnpackedText{};
    allocate(produced);
    if (inflateReset(&z) != Z_OK) return damaged();
    start();
    // The count has checked the stream to its end, so the text is whole once the room is full.
    std::size_t again = 0;
    fill(text.bytes.get(), text.size, again);
    return again == produced || damaged();
}

bool Gunzip(std::string_view bytes, std::string& text, std::string& error, std::size_t limit) {
    UnpackedText unpacked;
    const bool done = Gunzip(bytes, unpacked, error, limit);
    text.assign(unpacked.View());
    return done;
}

std::string WriteDelimited(const std::vector<ForeignEntry>& entries, char separator) {
    std::string text;
    for (const ForeignEntry& e : entries)
        text += Quoted(e.word, separator) + separator + Quoted(e.translation, separator) + "\r\n";
    return text;
}

std::string WriteAnki(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second) {
    return "#separator:tab\r\n#html:false\r\n#columns:" + Quoted(first, '\t') + "\t" + Quoted(second, '\t') + "\r\n" +
           WriteDelimited(entries, '\t');
}

bool WriteKvtml(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second,
                std::string& document, std::string& error) {
    platform::XmlWriter xml;
    xml.DocType("kvtml", "kvtml2.dtd", "http://edu.kde.org/kvtml/kvtml2.dtd");
    xml.Start("kvtml");
    xml.Attribute("version", "2.0");
    xml.Start("information");
    xml.Start("generator");
    xml.Text("Dictionary");
    xml.End();
    xml.Start("title");
    xml.Text(first + " - " + second);
    xml.End();
    xml.End();
    xml.Start("identifiers");
    const std::string names[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        xml.Start("identifier");
        xml.Attribute("id", std::to_string(i));
        xml.Start("name");
        xml.Text(names[i]);
        xml.End();
        xml.End();
    }
    xml.End();
    xml.Start("entries");
    for (std::size_t n = 0; n < entries.size(); ++n) {
        xml.Start("entry");
        xml.Attribute("id", std::to_string(n));
        const std::string* texts[2] = {&entries[n].word, &entries[n].translation};
        for (int i = 0; i < 2; ++i) {
            xml.Start("translation");
            xml.Attribute("id", std::to_string(i));
            xml.Start("text");
            xml.Text(*texts[i]);
            xml.End();
            xml.End();
        }
        xml.End();
    }
    xml.End();
    xml.End();
    return xml.Finish(document, error);
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
