#include "core/text/pieces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Pieces(std::string_view text, BlankPieces blanks) {
    std::vector<std::string> pieces;
    ForEachTranslationPiece(
        text,
        [&](std::string_view piece) {
            pieces.emplace_back(piece);
            return false;
        },
        blanks);
    return pieces;
}

}  // namespace

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
        {"a b, c", {"a b", "c"}, {"a b", "c"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pieces(c.text, BlankPieces::Skipped), c.skipped) << '"' << c.text << '"';
        EXPECT_EQ(Pieces(c.text, BlankPieces::KeptEmpty), c.keptEmpty) << '"' << c.text << '"';
    }
    int seen = 0;
    EXPECT_TRUE(ForEachTranslationPiece("a, b, c", [&](std::string_view p) {
        ++seen;
        return p == "b";
    }));
    EXPECT_EQ(seen, 2);
}

TEST(TranslationPieces, ListsOnlyAWholePieceWithAsciiCaseFolded) {
    const struct {
        const char *translation, *piece;
        bool listed;
    } cases[] = {
        {"house, home", "HOME", true}, {" house ,,", "house", true}, {"été", "été", true},
        {"été", "ÉTÉ", false},         {"house", "hous", false},     {"house, home", "house, home", false},
        {"house, ", "", false},        {"a\tb", "a b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TranslationLists(c.translation, c.piece), c.listed) << c.translation << " / " << c.piece;
}
