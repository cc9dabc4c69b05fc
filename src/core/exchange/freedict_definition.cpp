#include "core/exchange/freedict_definition.h"

#include <cstdint>
#include <cstring>

#include "core/exchange/format_helpers.h"

namespace {

// Whether any of the eight bytes is `byte`.
bool HoldsByte(std::uint64_t eight, char byte) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t x = eight ^ (ones * static_cast<unsigned char>(byte));
    return ((x - ones) & ~x & (ones << 7)) != 0;
}

}  // namespace

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

namespace {

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

}  // namespace

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
