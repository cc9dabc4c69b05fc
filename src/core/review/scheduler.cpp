#include "core/review/scheduler.h"

#include <algorithm>
#include <cmath>

namespace review {
namespace {

// The published FSRS-6 defaults.
constexpr double kW[21] = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
                           1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
constexpr double kMinStability = 0.001, kMaxStability = 36500;

constexpr double kDecay = -kW[20];
// The curve's factor, so that retrievability is 0.9 after `stability` days.
const double kFactor = std::pow(0.9, 1 / kDecay) - 1;

double ClampStability(double s) { return std::clamp(s, kMinStability, kMaxStability); }
double ClampDifficulty(double d) { return std::clamp(d, 1.0, 10.0); }

double InitialDifficulty(int g) { return kW[4] - std::exp(kW[5] * (g - 1)) + 1; }

// What does not change between reviews is worked out once: a replay runs these formulas a
// million times, and a Windows build's exp and pow are slow.
const double kInitialDifficulty[5] = {0, InitialDifficulty(kAgain), InitialDifficulty(kHard), InitialDifficulty(kGood),
                                      InitialDifficulty(kEasy)};
const double kExpW8 = std::exp(kW[8]);
const double kForgetCap = std::exp(kW[17] * kW[18]);

double NextDifficulty(double d, int g) {
    double delta = -kW[6] * (g - 3);
    double damped = d + delta * (10 - d) / 9;
    // Mean reversion pulls toward the unclamped initial difficulty of Easy.
    return ClampDifficulty(kW[7] * kInitialDifficulty[kEasy] + (1 - kW[7]) * damped);
}

// The growth that Hard, Good and Easy share before their own factors.
double RecallGrowth(double d, double s, double r) {
    return kExpW8 * (11 - d) * std::pow(s, -kW[9]) * (std::exp((1 - r) * kW[10]) - 1);
}

double RecallStability(double s, double growth, int g) {
    double hardPenalty = g == kHard ? kW[15] : 1;
    double easyBonus = g == kEasy ? kW[16] : 1;
    return ClampStability(s * (1 + growth * hardPenalty * easyBonus));
}

double ForgetStability(double d, double s, double r) {
    double forgot = kW[11] * std::pow(d, -kW[12]) * (std::pow(s + 1, kW[13]) - 1) * std::exp((1 - r) * kW[14]);
    return ClampStability(std::min(forgot, s / kForgetCap));
}

// The days per unit of stability at the desired retention; the last retention's is kept.
double PerDay(double retention) {
    static thread_local double lastRetention = -1, lastPerDay = 0;
    if (retention != lastRetention) {
        lastPerDay = (std::pow(retention, 1 / kDecay) - 1) / kFactor;
        lastRetention = retention;
    }
    return lastPerDay;
}

// `perDay` is the days per unit of stability at the desired retention.
std::int32_t Interval(double s, double perDay, const SchedulerParams& params) {
    double days = s * perDay;
    return static_cast<std::int32_t>(std::clamp(std::round(days), 1.0, static_cast<double>(params.maxIntervalDays)));
}

}  // namespace

std::int64_t DayNumber(std::int64_t ms, std::int64_t dayOffsetMs) {
    std::int64_t t = ms + dayOffsetMs;
    return t / kDayMs - (t % kDayMs < 0 ? 1 : 0);
}

double Retrievability(double stability, double elapsedDays) {
    return std::pow(1 + kFactor * elapsedDays / stability, kDecay);
}

bool ApplyReview(CardState& card, std::int64_t atMs, int rating, const SchedulerParams& params,
                 std::int64_t dayOffsetMs) {
    if (rating < kAgain || rating > kEasy) return false;
    double s[5] = {};
    std::int32_t ivl[5] = {};
    if (card.IsNew()) {
        for (int g = kAgain; g <= kEasy; ++g) s[g] = ClampStability(kW[g - 1]);
        card.difficulty = ClampDifficulty(kInitialDifficulty[rating]);
    } else {
        double elapsed = static_cast<double>(
            std::max<std::int64_t>(0, DayNumber(atMs, dayOffsetMs) - DayNumber(card.lastReviewMs, dayOffsetMs)));
        double r = Retrievability(card.stability, elapsed);
        s[kAgain] = ForgetStability(card.difficulty, card.stability, r);
        const double growth = RecallGrowth(card.difficulty, card.stability, r);
        for (int g = kHard; g <= kEasy; ++g) s[g] = RecallStability(card.stability, growth, g);
        card.difficulty = NextDifficulty(card.difficulty, rating);
    }
    const double perDay = PerDay(params.retention);
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
