#include "core/text/pieces.h"

#include <cstring>

#include "core/text/fixed_text.h"

PieceAdded AddTranslationPiece(char* text, std::size_t& length, std::size_t capacity, std::string_view piece) {
    if (TranslationLists(std::string_view(text, length), piece)) return PieceAdded::Listed;
    const std::size_t separator = length ? 2 : 0;
    if (length + separator + piece.size() > capacity) return PieceAdded::NoRoom;
    if (separator) {
        text[length++] = ',';
        text[length++] = ' ';
    }
    std::memcpy(text + length, piece.data(), piece.size());
    length += piece.size();
    return PieceAdded::Added;
}

bool TranslationLists(std::string_view translation, std::string_view piece) {
    return ForEachTranslationPiece(translation,
                                   [&](std::string_view listed) { return EqualsIgnoringAsciiCase(listed, piece); });
}
