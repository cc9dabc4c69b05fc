#include "core/review/review_run.h"

#include <gtest/gtest.h>

#include "core/review/scheduler.h"

namespace {

// Plays the steps, 'r' right, 'e' right with Easy, 'w' wrong, 's' shown, 'd' dropped, logging
// the ratings; gives the word on show before each step by its first letter, and '-' where
// there was none.
std::string Play(review::ReviewRun& run, const std::string& steps, std::vector<int>& logged) {
    std::string asked;
    for (char step : steps) {
        if (run.Current() == nullptr) return asked + '-';
        asked += (*run.Current())[0];
        std::optional<int> rating;
        if (step == 'd')
            run.Drop();
        else
            rating = step == 's' ? run.Show() : run.Answer(step != 'w', step == 'e');
        if (rating) logged.push_back(*rating);
    }
    return asked;
}

TEST(ReviewRunTest, RatingsComeFromTheFirstAnswerAndAgainComesBackAfterThree) {
    const struct {
        std::vector<std::string> queue;
        std::string steps, asked;
        std::vector<int> logged;
    } cases[] = {
        {{"a"}, "wwr", "aaa", {review::kHard}},
        {{"a"}, "we", "aa", {review::kHard}},
        // Shown: Again at once, then its answer taken; back after three others, unlogged.
        {{"a", "b", "c", "d", "e"},
         "srrrrwre",
         "aabcdaae",
         {review::kAgain, review::kGood, review::kGood, review::kGood, review::kEasy}},
        // Fewer than three left: it comes at the end, and again until it is answered right.
        {{"a", "b"}, "srrsrr", "aabaaa", {review::kAgain, review::kGood}},
        // Shown twice logs once; a wrong answer then keeps it; a dropped word goes unrated.
        {{"a", "b"}, "sswdr", "aaaab", {review::kAgain, review::kGood}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        review::ReviewRun run(c.queue);
        std::vector<int> logged;
        EXPECT_EQ(Play(run, c.steps, logged), c.asked);
        EXPECT_EQ(logged, c.logged);
        EXPECT_EQ(run.Current(), nullptr);
    }
}

// The tally counts a word once, when the run is through with it.
TEST(ReviewRunTest, TallyCountsTheWordsDoneRightAtOnceAndNewOnesLearnt) {
    const struct {
        std::vector<std::string> due, fresh;
        std::string steps;
        review::RunTally tally;
    } cases[] = {
        // Good, Hard, Easy (new), shown (new) then right on its return.
        {{"a", "b"}, {"c", "d"}, "rwresrr", {4, 2, 2}},
        // A dropped word is not reviewed; nor is one still to come back.
        {{"a"}, {"b"}, "dr", {1, 1, 1}},
        {{"a"}, {"b", "c"}, "srrr", {2, 2, 2}},
        {{}, {"a"}, "wsw", {0, 0, 0}},
        // A word shown on its return is through when answered: it counted as wrong at once already.
        {{"a"}, {}, "srsr", {0, 0, 0}},
        {{"a"}, {}, "srsrr", {1, 0, 0}},
    };
    const auto counts = [](const review::RunTally& t) { return std::tuple(t.reviewed, t.rightAtOnce, t.newLearnt); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        review::ReviewRun run(c.due, c.fresh);
        std::vector<int> logged;
        EXPECT_EQ(Play(run, c.steps, logged).find('-'), std::string::npos);
        EXPECT_EQ(counts(run.tally()), counts(c.tally));
    }
}

}  // namespace
