// The pieces of a translation: the texts between its commas, trimmed of blanks. Typed
// words and imports split translations this one way.
#pragma once

#include <string_view>

// Calls visit(piece) for each non-empty piece in order until it returns true; whether one did.
template <typename Visit>
bool ForEachTranslationPiece(std::string_view text, Visit visit) {
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) comma = text.size();
        std::string_view piece = text.substr(start, comma - start);
        start = comma + 1;
        const std::size_t begin = piece.find_first_not_of(' ');
        if (begin == std::string_view::npos) continue;
        if (visit(piece.substr(begin, piece.find_last_not_of(' ') - begin + 1))) return true;
    }
    return false;
}
