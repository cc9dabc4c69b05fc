// The memory model of a word under spaced review: how stable its memory is, how hard it is,
// and when it is due. FSRS-6 with its default parameters, long-term only and without fuzz, so
// one log always gives one schedule.
#pragma once

#include <cstdint>

namespace review {

constexpr std::int64_t kDayMs = 86400000;

enum Rating : int { kAgain = 1, kHard = 2, kGood = 3, kEasy = 4 };

struct SchedulerParams {
    double retention = 0.90;
    std::int32_t maxIntervalDays = 36500;
};

// A word's memory after its reviews; a word with no review is new.
struct CardState {
    double stability = 0, difficulty = 0;
    std::int64_t lastReviewMs = 0;
    std::int32_t intervalDays = 0;
    std::int32_t reviews = 0, lapses = 0;

    bool IsNew() const { return reviews == 0; }
    std::int64_t DueMs() const { return lastReviewMs + intervalDays * kDayMs; }
};

// The day a time falls on, for a clock `dayOffsetMs` ahead of UTC (the user's local day in
// the program, 0 on the command line).
std::int64_t DayNumber(std::int64_t ms, std::int64_t dayOffsetMs);
// The day the word is due on; a new word has none (and is not asked for here).
inline std::int64_t DueDay(const CardState& card, std::int64_t dayOffsetMs) {
    return DayNumber(card.lastReviewMs, dayOffsetMs) + card.intervalDays;
}

// The chance of recalling the word after `elapsedDays` whole days.
double Retrievability(double stability, double elapsedDays);

// One answer rated 1-4 at `atMs`; a rating outside 1-4 leaves the card as it was and
// returns false. Days are counted on the given clock, so a review late in the evening and
// one early next morning are a day apart.
bool ApplyReview(CardState& card, std::int64_t atMs, int rating, const SchedulerParams& params,
                 std::int64_t dayOffsetMs);

}  // namespace review
