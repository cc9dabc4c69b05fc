#include "core/practice/practice.h"

#include <numeric>

#include "test_support.h"

TEST(PracticePool, EveryCountGivesAPermutation) {
    std::uint32_t state = 1;
    for (std::int32_t count = 1; count <= 300; ++count) {
        PracticePool pool(count);
        std::vector<std::int32_t> drawn, all(static_cast<std::size_t>(count));
        std::iota(all.begin(), all.end(), 0);
        for (std::int32_t i = 0; i < count; ++i) {
            state = state * 1103515245u + 12345u;
            drawn.push_back(pool.Draw(state >> 2));
        }
        EXPECT_EQ(pool.Draw(0), -1);
        std::sort(drawn.begin(), drawn.end());
        EXPECT_EQ(drawn, all) << count;
    }
}

// Whether the piece is right is the translation pieces' rule; here, which piece is checked.
TEST(PracticeAnswers, OnlyTheFirstTypedPieceIsChecked) {
    const std::pair<const char*, const char*> cases[] = {
        {"home, casa", "home"}, {" casa ,home", "casa"}, {" , ,", ""}, {"", ""}};
    for (auto [typed, token] : cases) EXPECT_EQ(AnswerToken(typed), token) << typed;
}

TEST(PracticeScores, AFinishedRunReplacesTheBestOnlyWhenItIsBetter) {
    const std::optional<Score> stored = Score{2, 5};
    const struct {
        Score run;
        bool beats;
    } cases[] = {{{2, 5}, false}, {{2, 4}, true}, {{1, 9}, true}, {{3, 0}, false}};
    for (const auto& c : cases)
        EXPECT_EQ(BeatsStoredScore(c.run, stored), c.beats) << c.run.skipped << " " << c.run.errors;
    EXPECT_TRUE(BeatsStoredScore({40, 40}, std::nullopt));
}

TEST(PracticeScores, DamagedFilesReadAsNoScoreOrTheirLeadingNumbers) {
    WorkDir dir;
    const struct {
        std::string content;
        std::optional<std::pair<int, int>> read;
    } cases[] = {
        {"1\r\n3\r\n", std::pair{1, 3}},
        {" +2\n  7 apples\n", std::pair{2, 7}},
        {"x\ny\n", std::pair{0, 0}},
        {"4\n", std::nullopt},
        {"-1\n5\n", std::nullopt},
        {"5\n-1\n", std::nullopt},
        {"99999999999999999999999\n1\n", std::pair{2147483647, 1}},
    };
    for (const auto& c : cases) {
        WriteFile("list.score", c.content);
        const std::optional<Score> score = ReadScore("list.score");
        EXPECT_EQ(score ? std::optional(std::pair(score->skipped, score->errors)) : std::nullopt, c.read) << c.content;
    }
    EXPECT_FALSE(ReadScore("missing.score"));
}
