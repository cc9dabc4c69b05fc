#include "core/morphology/dictionary_files.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/text_convert.h"

namespace {

constexpr unsigned kLatin1CodePage = 28591;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Lines as Hunspell splits them, numbered from 1; stops at the first finding that makes
// the rest unreadable (a NUL byte: the file is binary).
template <typename EachLine>
bool ForEachLine(std::string_view bytes, const std::string& file, std::vector<MorphologyFinding>& findings,
                 EachLine eachLine) {
    std::size_t number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.find('\0') != std::string_view::npos) {
            findings.push_back({file, number, "binary: a NUL byte, no text"});
            return false;
        }
        if (line.size() > kMaxDictionaryLineBytes) {
            findings.push_back({file, number,
                                "a line of " + std::to_string(line.size()) + " bytes, more than " +
                                    std::to_string(kMaxDictionaryLineBytes)});
            return false;
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        eachLine(number, line);
    }
    return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool IsCount(std::string_view text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

unsigned CodePageOfDictionarySet(std::string_view set) {
    if (EqualsIgnoringCase(set, "UTF-8")) return platform::kUtf8CodePage;
    if (EqualsIgnoringCase(set, "KOI8-R")) return 20866;
    if (EqualsIgnoringCase(set, "KOI8-U")) return 21866;
    if (EqualsIgnoringCase(set, "microsoft-cp1251")) return 1251;
    if (EqualsIgnoringCase(set, "TIS620-2533")) return 874;
    for (std::string_view prefix : {"ISO8859-", "ISO-8859-"}) {
        if (set.size() <= prefix.size() || !EqualsIgnoringCase(set.substr(0, prefix.size()), prefix)) continue;
        const std::string part(set.substr(prefix.size()));
        if (!IsCount(part)) return 0;
        const int n = std::atoi(part.c_str());
        // ISO 8859-12 was never made; 11 is Thai, which Windows knows as 874.
        if (n >= 1 && n <= 15 && n != 12) return n == 11 ? 874 : 28590 + static_cast<unsigned>(n);
    }
    return 0;
}

AffixFileCheck CheckAffixFile(std::string_view bytes, const std::string& file) {
    AffixFileCheck check;
    check.codePage = kLatin1CodePage;
    // An affix class's header says how many rule lines follow it; fewer means a cut file.
    std::string openKind, openFlag;
    std::size_t openLine = 0, rulesLeft = 0;
    const auto closeClass = [&] {
        if (rulesLeft > 0)
            check.findings.push_back(
                {file, openLine,
                 openKind + " " + openFlag + " announces " + std::to_string(rulesLeft) + " more rules than follow it"});
        rulesLeft = 0;
    };
    if (bytes.empty()) check.findings.push_back({file, 0, "empty"});
    const bool whole = ForEachLine(bytes, file, check.findings, [&](std::size_t number, std::string_view line) {
        if (number == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        const std::vector<std::string_view> f = Fields(line);
        if (f.empty() || f[0][0] == '#') return;
        if (f[0] == "SET" && f.size() >= 2) {
            check.codePage = CodePageOfDictionarySet(f[1]);
            std::wstring probe;
            if (check.codePage == 0)
                check.findings.push_back({file, number, "SET " + std::string(f[1]) + " is no encoding Hunspell knows"});
            else if (!platform::ToWide("a", check.codePage, platform::Conversion::Exact, probe))
                check.findings.push_back(
                    {file, number, "SET " + std::string(f[1]) + " is an encoding this system cannot convert"});
            return;
        }
        if (f[0] != "PFX" && f[0] != "SFX") return;
        if (rulesLeft > 0 && f.size() >= 2 && f[0] == openKind && f[1] == openFlag) {
            --rulesLeft;
            return;
        }
        closeClass();
        if (f.size() >= 4 && IsCount(f[3]) && (f[2] == "Y" || f[2] == "N")) {
            openKind = std::string(f[0]);
            openFlag = std::string(f[1]);
            openLine = number;
            rulesLeft = static_cast<std::size_t>(std::atol(std::string(f[3]).c_str()));
        } else {
            check.findings.push_back({file, number, "an affix rule outside its class"});
        }
    });
    if (whole) closeClass();
    return check;
}

std::vector<MorphologyFinding> CheckWordsFile(std::string_view bytes, const std::string& file) {
    std::vector<MorphologyFinding> findings;
    std::size_t announced = 0, words = 0;
    bool counted = false;
    const bool whole = ForEachLine(bytes, file, findings, [&](std::size_t number, std::string_view line) {
        if (number == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (!counted) {
            const std::vector<std::string_view> f = Fields(line);
            counted = true;
            if (f.size() == 1 && IsCount(f[0]))
                announced = static_cast<std::size_t>(std::atol(std::string(f[0]).c_str()));
            else
                findings.push_back({file, number, "the first line is not the number of words"});
            return;
        }
        // Hunspell takes a line that starts with a tab for a comment.
        if (!line.empty() && line[0] != '\t' && line[0] != '/') ++words;
    });
    if (!counted) findings.push_back({file, 0, "empty"});
    // The count is only a size hint, and Debian's French dictionary holds fewer words than
    // it announces; fewer with the last line unended is a file cut short.
    if (whole && counted && words < announced && bytes.back() != '\n')
        findings.push_back({file, 0,
                            "announces " + std::to_string(announced) + " words and holds " + std::to_string(words) +
                                ": the file is cut"});
    return findings;
}
