// win.ini text as the native build reads and rewrites it: any text, then one key written.
// Input: the file's text, then the section, the key and the value, each after a "@@" line.
#include <cctype>
#include <set>

#include "fuzz_support.h"
#include "platform/profile_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool HasBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

std::string Folded(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Names a profile file can hold at all: a line break would split the line, blanks around
// a name are not part of it, "]" ends a section name, "=" ends a key, and a key line
// starting with "[" could read as a section line.
bool Expressible(std::string_view section, std::string_view key, std::string_view value) {
    if (HasBreak(section) || HasBreak(key) || HasBreak(value)) return false;
    if (Trimmed(section) != section || Trimmed(key) != key) return false;
    if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos) return false;
    return key.empty() || key.front() != '[';
}

// Every section name and every key name of the text, as probes of what must keep its value.
void Names(std::string_view text, std::set<std::string>& sections, std::set<std::string>& keys) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = Trimmed(text.substr(pos, end - pos));
        if (!line.empty() && line.front() == '[' && line.find(']') != std::string::npos)
            sections.insert(Trimmed(std::string_view(line).substr(1, line.find(']') - 1)));
        else if (std::size_t eq = line.find('='); eq != std::string::npos)
            keys.insert(Trimmed(std::string_view(line).substr(0, eq)));
        pos = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = SplitInput(data, size, 4);
    const std::string text(*parts[0]);
    const std::string section(parts[1].value_or("Dictionary"));
    const std::string key(parts[2].value_or("PracticeList"));
    const std::string value(parts[3].value_or("week 1"));

    const std::optional<std::string> before = ProfileTextGet(text, section, key);
    if (before) {
        FUZZ_CHECK(!HasBreak(*before) && Trimmed(*before) == *before, Shown(*before));
        ProfileTextToInt(*before);
    }
    if (!Expressible(section, key, value)) return 0;

    const std::string written = ProfileTextSet(text, section, key, value);
    const std::string detail = "text: " + Shown(text) + "\nwritten: " + Shown(written);
    FUZZ_CHECK(ProfileTextGet(written, section, key) == Trimmed(value), detail);
    // The same write again finds the key in place: a file never grows by rewriting a setting.
    FUZZ_CHECK(ProfileTextSet(written, section, key, value) == written, detail);

    std::set<std::string> sections{section}, keys{key};
    Names(text, sections, keys);
    if (sections.size() * keys.size() > 256) return 0;
    for (const std::string& s : sections)
        for (const std::string& k : keys) {
            if (Folded(s) == Folded(section) && Folded(k) == Folded(key)) continue;
            FUZZ_CHECK(ProfileTextGet(text, s, k) == ProfileTextGet(written, s, k),
                       "[" + Shown(s) + "] " + Shown(k) + "\n" + detail);
        }
    return 0;
}
