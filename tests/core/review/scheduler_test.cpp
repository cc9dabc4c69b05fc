#include "core/review/scheduler.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Vector {
    int weights, sequence, step;
    std::int64_t atMs;
    int rating;
    double stability, difficulty;
    std::int64_t dueMs;
};

// Sequences of reviews scheduled by the reference implementation under the default weights and
// a second set (see tools/fsrs-vectors.mjs).
#include "core/review/fsrs_vectors.inc"

TEST(SchedulerTest, AgreesWithTheReferenceOnEveryStepUnderEitherWeights) {
    const review::SchedulerParams params[2] = {{}, {0.9, 36500, review::MemoryModel(kSecondWeights)}};
    review::CardState card;
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(::testing::Message()
                     << "weights " << v.weights << " sequence " << v.sequence << " step " << v.step);
        if (v.step == 0) card = {};
        ASSERT_TRUE(review::ApplyReview(card, v.atMs, v.rating, params[v.weights], 0));
        EXPECT_NEAR(card.stability, v.stability, 1e-4 * v.stability);
        EXPECT_NEAR(card.difficulty, v.difficulty, 1e-4 * v.difficulty);
        EXPECT_EQ(review::DueDay(card, 0), review::DayNumber(v.dueMs, 0));
    }
}

// A lower retention gives longer intervals.
TEST(SchedulerTest, ALowerRetentionGivesLongerIntervals) {
    review::CardState high, low;
    review::ApplyReview(high, 0, review::kGood, {0.95, 36500, {}}, 0);
    review::ApplyReview(low, 0, review::kGood, {0.70, 36500, {}}, 0);
    EXPECT_GT(low.intervalDays, high.intervalDays);
}

}  // namespace
