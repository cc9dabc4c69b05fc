#include "platform/profile_text.h"

#include <cctype>
#include <climits>
#include <vector>

#include "platform/lines.h"

namespace {

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return std::string(s.substr(b, e - b));
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The section name of a "[name]" line, or nothing for other lines.
std::optional<std::string> SectionOf(std::string_view line) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, const std::string& key, std::string* value) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || !SameName(Trim(line.substr(0, eq)), key)) return false;
    if (value) *value = Trim(line.substr(eq + 1));
    return true;
}

}  // namespace

std::optional<std::string> ProfileTextGet(const std::string& text, const std::string& section, const std::string& key) {
    bool inSection = false;
    for (const TextLine& line : SplitLines(text)) {
        if (auto name = SectionOf(line.text)) {
            inSection = SameName(*name, section);
            continue;
        }
        std::string value;
        if (inSection && IsKeyLine(line.text, key, &value)) return value;
    }
    return std::nullopt;
}

std::string ProfileTextSet(const std::string& text, const std::string& section, const std::string& key,
                           const std::string& value) {
    // Each line keeps its own break, so the rewrite changes no line but the one written.
    std::vector<TextLine> lines = SplitLines(text);
    std::string eol = "\n";
    for (const TextLine& line : lines)
        if (!line.end.empty()) {
            eol = line.end;
            break;
        }
    const std::string entry = key + "=" + value, header = "[" + section + "]";

    bool inSection = false;
    std::size_t lastInSection = 0;
    bool sectionFound = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionOf(lines[i].text)) {
            if (inSection) break;
            inSection = SameName(*name, section);
            if (inSection) {
                sectionFound = true;
                lastInSection = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (IsKeyLine(lines[i].text, key, nullptr)) {
            lines[i].text = entry;
            sectionFound = true;
            lastInSection = lines.size();  // replaced in place
            break;
        }
        if (!Trim(lines[i].text).empty()) lastInSection = i;
    }

    if (!sectionFound) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
        lines.push_back({header, eol});
        lines.push_back({entry, eol});
    } else if (lastInSection < lines.size()) {
        if (lines[lastInSection].end.empty()) lines[lastInSection].end = eol;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastInSection) + 1, TextLine{entry, eol});
    }

    std::string out;
    for (const TextLine& line : lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

int ProfileTextToInt(const std::string& value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    long long result = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
        result = result * 10 + (value[i] - '0');
        if (result > INT_MAX) result = INT_MAX;  // stay in range instead of wrapping
    }
    return static_cast<int>(negative ? -result : result);
}
