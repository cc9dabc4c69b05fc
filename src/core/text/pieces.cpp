#include "core/text/pieces.h"

#include "core/text/fixed_text.h"

bool TranslationLists(std::string_view translation, std::string_view piece) {
    return ForEachTranslationPiece(translation,
                                   [&](std::string_view listed) { return EqualsIgnoringAsciiCase(listed, piece); });
}
