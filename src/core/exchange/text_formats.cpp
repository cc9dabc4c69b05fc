#include "core/exchange/text_formats.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "core/exchange/format_helpers.h"
#include "core/text/fixed_text.h"
#include "core/text/html_entities.h"
#include "core/text/text_encoding.h"
#include "core/text/utf8.h"
#include "platform/lines.h"

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

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

// The encoding as the report names it.
const char* EncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf16:
            return "UTF-16";
        case TextEncoding::MarkedUtf8:
            return "UTF-8 (marked)";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::CodePage:
            break;
    }
    return "the pair's code page";
}

bool IsBlankRecord(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& f) { return f.find_first_not_of(" \t") == std::string::npos; });
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
    const FileText told = TellFileText(text, decoded);
    text = told.text;
    file.utf8 = told.encoding != TextEncoding::CodePage;
    file.encoding = EncodingName(told.encoding);
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
        file.entries.push_back({line, fields[0], fields.size() > 1 ? fields[1] : std::string(), {}, {}});
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
        file.entries.push_back({line, kept[0], kept[1], {}, {}});
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
