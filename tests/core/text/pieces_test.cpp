#include "core/text/pieces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Blanks (not tabs) go from both ends; a piece of blanks alone is skipped or kept empty.
TEST(TranslationPieces, SplitAtEveryCommaAndTrimBlanksOnly) {
    using V = std::vector<std::string>;
    const struct {
        const char* text;
        V skipped, keptEmpty;
    } cases[] = {
        {"", {}, {}},
        {"  huis  ,,woning", {"huis", "woning"}, {"huis", "woning"}},
        {",a,  ,\tb ,", {"a", "\tb"}, {"a", "", "\tb"}},
        {" , ,", {}, {"", ""}},
    };
    for (const auto& c : cases)
        for (BlankPieces blanks : {BlankPieces::Skipped, BlankPieces::KeptEmpty}) {
            V pieces;
            ForEachTranslationPiece(
                c.text, [&](std::string_view p) { return pieces.emplace_back(p), false; }, blanks);
            EXPECT_EQ(pieces, blanks == BlankPieces::Skipped ? c.skipped : c.keptEmpty) << '"' << c.text << '"';
        }
    const struct {
        const char *translation, *piece;
        bool listed;
    } lists[] = {{"house, home", "HOME", true}, {" house ,,", "house", true}, {"été", "ÉTÉ", false},
                 {"house", "hous", false},      {"a, b", "a, b", false},      {"house, ", "", false}};
    for (const auto& c : lists) EXPECT_EQ(TranslationLists(c.translation, c.piece), c.listed) << c.translation;
}

// Typed words and imports give a translation one more piece by this one rule.
TEST(TranslationPieces, APieceIsAddedAtTheEndWhenItIsNewAndFits) {
    const struct {
        std::string translation, piece;
        std::size_t capacity;
        PieceAdded result;
        std::string after;
    } cases[] = {
        {"", "huis", 10, PieceAdded::Added, "huis"},
        {"", "0123456789", 10, PieceAdded::Added, "0123456789"},  // no separator before the first
        {"huis", "woning", 12, PieceAdded::Added, "huis, woning"},
        {"huis", "woning", 11, PieceAdded::NoRoom, "huis"},
        {"huis, woning", "HUIS", 50, PieceAdded::Listed, "huis, woning"},
    };
    for (const auto& c : cases) {
        char text[64];
        std::size_t length = c.translation.size();
        c.translation.copy(text, length);
        EXPECT_EQ(AddTranslationPiece(text, length, c.capacity, c.piece), c.result) << c.translation << "+" << c.piece;
        EXPECT_EQ(std::string(text, length), c.after) << c.translation << "+" << c.piece;
    }
}
