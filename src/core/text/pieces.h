// The pieces of a translation: the texts between its commas, trimmed of blanks. Typed
// words, typed answers, sound names and imports split translations this one way.
#pragma once

#include <string_view>

// A piece of blanks alone is skipped, or seen as an empty piece (where the typed answer
// and the sound names have always kept one; nothing between two commas is skipped by both).
enum class BlankPieces { Skipped, KeptEmpty };

// Calls visit(piece) for each piece in order until it returns true; whether one did.
template <typename Visit>
bool ForEachTranslationPiece(std::string_view text, Visit visit, BlankPieces blanks = BlankPieces::Skipped) {
    for (std::size_t start = 0; start <= text.size();) {
        // A loop of its own: the C runtime's memchr is a call per piece, and under Wine a slow one.
        std::size_t comma = start;
        while (comma < text.size() && text[comma] != ',') ++comma;
        std::string_view piece = text.substr(start, comma - start);
        start = comma + 1;
        const std::size_t begin = piece.find_first_not_of(' ');
        if (begin == std::string_view::npos) {
            if (blanks == BlankPieces::KeptEmpty && !piece.empty() && visit(std::string_view())) return true;
            continue;
        }
        if (visit(piece.substr(begin, piece.find_last_not_of(' ') - begin + 1))) return true;
    }
    return false;
}

// Whether the translation lists the piece: one of its pieces is the same, the letters A-Z in
// either case being the same and every other byte exactly.
bool TranslationLists(std::string_view translation, std::string_view piece);

enum class PieceAdded { Added, Listed, NoRoom };
// The one rule for giving a translation one more piece, for typed words and imports alike:
// the piece goes at the end, after ", " unless the translation is empty, when the
// translation does not list it yet and the whole still fits in `capacity` bytes. `text`
// holds the translation's `length` bytes and has room for `capacity`.
PieceAdded AddTranslationPiece(char* text, std::size_t& length, std::size_t capacity, std::string_view piece);
