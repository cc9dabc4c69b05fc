#include "core/review/scheduler.h"

#include <algorithm>
#include <cmath>

#include "core/review/memory_formulas.h"

namespace review {
namespace {

double ClampStability(double s) { return std::clamp(s, kMinStability, kMaxStability); }
double ClampDifficulty(double d) { return std::clamp(d, 1.0, 10.0); }

// `perDay` is the days per unit of stability at the desired retention.
std::int32_t Interval(double s, double perDay, const SchedulerParams& params) {
    double days = s * perDay;
    return static_cast<std::int32_t>(std::clamp(std::round(days), 1.0, static_cast<double>(params.maxIntervalDays)));
}

}  // namespace

MemoryModel::MemoryModel(const Weights& w)
    : w_(w),
      decay_(-w[20]),
      // So that retrievability is 0.9 after `stability` days.
      factor_(std::pow(0.9, 1 / decay_) - 1),
      expW8_(std::exp(w[8])),
      forgetCap_(std::exp(w[17] * w[18])) {
    initialDifficulty_[0] = 0;
    for (int g = kAgain; g <= kEasy; ++g) initialDifficulty_[g] = formulas::InitialDifficulty<double>(w, g);
}

double MemoryModel::Retrievability(double stability, double elapsedDays) const {
    return formulas::Recall(factor_, decay_, stability, elapsedDays);
}

double MemoryModel::InitialStability(int rating) const { return ClampStability(w_[rating - 1]); }
double MemoryModel::InitialDifficulty(int rating) const { return ClampDifficulty(initialDifficulty_[rating]); }

double MemoryModel::NextDifficulty(double d, int g) const {
    return ClampDifficulty(formulas::NextDifficulty(w_, initialDifficulty_[kEasy], d, g));
}

void MemoryModel::NextStabilities(double d, double s, double r, double next[5]) const {
    next[kAgain] = ClampStability(std::min(formulas::ForgottenStability(w_, d, s, r), s / forgetCap_));
    // The growth that Hard, Good and Easy share before their own factors.
    const double growth = formulas::RecallGrowth(w_, expW8_, d, s, r);
    next[kHard] = ClampStability(s * (1 + growth * w_[15]));
    next[kGood] = ClampStability(s * (1 + growth));
    next[kEasy] = ClampStability(s * (1 + growth * w_[16]));
}

// The last figure is kept: every review of a replay asks for the same one.
double MemoryModel::PerDay(double retention) const {
    static thread_local double lastRetention = -1, lastDecay = 0, lastPerDay = 0;
    if (retention != lastRetention || decay_ != lastDecay) {
        lastPerDay = (std::pow(retention, 1 / decay_) - 1) / factor_;
        lastRetention = retention;
        lastDecay = decay_;
    }
    return lastPerDay;
}

std::int64_t DayNumber(std::int64_t ms, std::int64_t dayOffsetMs) {
    std::int64_t t = ms + dayOffsetMs;
    return t / kDayMs - (t % kDayMs < 0 ? 1 : 0);
}

bool ApplyReview(CardState& card, std::int64_t atMs, int rating, const SchedulerParams& params,
                 std::int64_t dayOffsetMs) {
    if (rating < kAgain || rating > kEasy) return false;
    const MemoryModel& m = params.model;
    double s[5] = {};
    std::int32_t ivl[5] = {};
    if (card.IsNew()) {
        for (int g = kAgain; g <= kEasy; ++g) s[g] = m.InitialStability(g);
        card.difficulty = m.InitialDifficulty(rating);
    } else {
        double elapsed = static_cast<double>(
            std::max<std::int64_t>(0, DayNumber(atMs, dayOffsetMs) - DayNumber(card.lastReviewMs, dayOffsetMs)));
        double r = m.Retrievability(card.stability, elapsed);
        m.NextStabilities(card.difficulty, card.stability, r, s);
        card.difficulty = m.NextDifficulty(card.difficulty, rating);
    }
    const double perDay = m.PerDay(params.retention);
    for (int g = kAgain; g <= kEasy; ++g) ivl[g] = Interval(s[g], perDay, params);
    // A better answer never comes back sooner than a worse one.
    ivl[kAgain] = std::min(ivl[kAgain], ivl[kHard]);
    ivl[kHard] = std::max(ivl[kHard], ivl[kAgain] + 1);
    ivl[kGood] = std::max(ivl[kGood], ivl[kHard] + 1);
    ivl[kEasy] = std::max(ivl[kEasy], ivl[kGood] + 1);
    card.stability = s[rating];
    card.intervalDays = ivl[rating];
    card.lastReviewMs = atMs;
    ++card.reviews;
    if (rating == kAgain && card.reviews > 1) ++card.lapses;
    return true;
}

}  // namespace review
