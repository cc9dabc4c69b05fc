#include "platform/lines.h"

TextLine LineAt(std::string_view text, std::size_t start, LineBreaks breaks) {
    std::string_view rest = text.substr(start);
    // One scan for the break: find_first_of looks each character up in the set, a call per
    // byte, which made the lines of a large dictionary most of its import.
    std::size_t brk = rest.find('\n');
    if (breaks == LineBreaks::Any) {
        const std::size_t cr = rest.substr(0, brk).find('\r');
        if (cr != std::string_view::npos) brk = cr;
    }
    if (brk == std::string_view::npos) {
        if (breaks == LineBreaks::LineFeed && !rest.empty() && rest.back() == '\r')
            brk = rest.size() - 1;
        else
            return {rest, {}};
    } else if (breaks == LineBreaks::LineFeed && brk > 0 && rest[brk - 1] == '\r') {
        --brk;
    }
    const bool crlf = rest[brk] == '\r' && brk + 1 < rest.size() && rest[brk + 1] == '\n';
    return {rest.substr(0, brk), rest.substr(brk, crlf ? 2 : 1)};
}

std::vector<TextLine> SplitLines(std::string_view text, LineBreaks breaks) {
    std::vector<TextLine> lines;
    for (std::size_t pos = 0; pos < text.size(); pos += lines.back().size()) lines.push_back(LineAt(text, pos, breaks));
    return lines;
}
