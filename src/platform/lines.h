// Lines of a text, each with the break that ended it, so a rewrite can put back every line
// it did not change as it was.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

struct TextLine {
    std::string_view text;  // without its break
    std::string_view end;   // "\n", "\r\n", "\r", or "" for a last line without one

    std::size_t size() const { return text.size() + end.size(); }
};

enum class LineBreaks {
    Any,       // CR, LF and CRLF: files edited on other systems end lines each way
    LineFeed,  // LF only; the CR of a CRLF, or a CR that ends the text, is part of the break
};

// The line that starts at `start`.
TextLine LineAt(std::string_view text, std::size_t start, LineBreaks breaks = LineBreaks::Any);

// Every line in order; a break at the very end starts no further line.
std::vector<TextLine> SplitLines(std::string_view text, LineBreaks breaks = LineBreaks::Any);
