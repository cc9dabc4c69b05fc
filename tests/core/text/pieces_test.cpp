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
