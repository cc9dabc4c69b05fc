// The memory model of a word under spaced review: how stable its memory is, how hard it is,
// and when it is due. FSRS-6, long-term only and without fuzz, so one log always gives one
// schedule; its 21 weights are the published defaults or those fitted to the learner's log.
#pragma once

#include <array>
#include <cstdint>

namespace review {

constexpr std::int64_t kDayMs = 86400000;

enum Rating : int { kAgain = 1, kHard = 2, kGood = 3, kEasy = 4 };

constexpr int kWeightCount = 21;
using Weights = std::array<double, kWeightCount>;
// The published FSRS-6 defaults; w20 is the forgetting curve's decay.
constexpr Weights kDefaultWeights = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                     0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                     1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
constexpr double kMinStability = 0.001, kMaxStability = 36500;

// The formulas for one set of weights. What does not change between reviews is worked out
// when the model is made: a replay runs them a million times, and a Windows build's exp and
// pow are slow.
class MemoryModel {
public:
    MemoryModel() : MemoryModel(kDefaultWeights) {}
    explicit MemoryModel(const Weights& w);

    const Weights& weights() const { return w_; }
    double Decay() const { return decay_; }
    // The chance of recalling the word after `elapsedDays` whole days.
    double Retrievability(double stability, double elapsedDays) const;
    double InitialStability(int rating) const;
    double InitialDifficulty(int rating) const;  // clamped
    double NextDifficulty(double d, int rating) const;
    // The stability after each rating (1-4 at 1-4) of a review at retrievability r.
    void NextStabilities(double d, double s, double r, double next[5]) const;
    // Days per unit of stability at the desired retention.
    double PerDay(double retention) const;

private:
    Weights w_;
    double decay_, factor_, expW8_, forgetCap_;
    double initialDifficulty_[5];  // unclamped, by rating
};

struct SchedulerParams {
    double retention = 0.90;
    std::int32_t maxIntervalDays = 36500;
    MemoryModel model;
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

// One answer rated 1-4 at `atMs`; a rating outside 1-4 leaves the card as it was and
// returns false. Days are counted on the given clock, so a review late in the evening and
// one early next morning are a day apart.
bool ApplyReview(CardState& card, std::int64_t atMs, int rating, const SchedulerParams& params,
                 std::int64_t dayOffsetMs);

}  // namespace review
