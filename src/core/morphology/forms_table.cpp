#include "core/morphology/forms_table.h"

#include "core/text/utf8.h"
#include "platform/text_convert.h"

namespace {

// Control bytes other than the tab and the line ends mean the file is no text.
bool HoldsControlBytes(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') return true;
    return false;
}

}  // namespace

FormsTable ReadFormsTable(std::string_view text, unsigned codePage, const std::string& file,
                          std::vector<MorphologyFinding>& findings) {
    FormsTable table;
    const std::size_t foundBefore = findings.size();
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
    std::size_t number = 0;
    std::string form, base;
    for (std::size_t start = 0; start < text.size() && findings.size() == foundBefore;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        const auto refuse = [&](std::string what) { findings.push_back({file, number, std::move(what)}); };
        if (line.size() > kMaxFormsLineBytes) {
            refuse("a line of " + std::to_string(line.size()) + " bytes, more than " +
                   std::to_string(kMaxFormsLineBytes));
            continue;
        }
        if (HoldsControlBytes(line)) {
            refuse("binary: control bytes, no text");
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        if (!ValidUtf8(line)) {
            refuse("not UTF-8");
            continue;
        }
        const std::size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string_view::npos || tab + 1 == line.size() ||
            line.find('\t', tab + 1) != std::string_view::npos) {
            refuse("not form<TAB>base");
            continue;
        }
        if (!platform::Utf8ToCodePage(line.substr(0, tab), codePage, form) ||
            !platform::Utf8ToCodePage(line.substr(tab + 1), codePage, base))
            continue;
        std::vector<std::string>& bases = table.bases[form];
        bool known = false;
        for (const std::string& b : bases) known = known || b == base;
        if (!known) bases.push_back(base);
    }
    if (findings.size() != foundBefore) table.bases.clear();
    return table;
}

const std::vector<std::string>* BasesOf(const FormsTable& table, const std::string& form) {
    const auto found = table.bases.find(form);
    return found == table.bases.end() ? nullptr : &found->second;
}
