// What a review run asks, and the figures of the progress window, from the replayed log.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/review/review_memory.h"

namespace review {

constexpr int kDefaultNewPerDay = 20;
// A word whose memory holds this long counts as mature.
constexpr double kMatureStability = 21;

// Only words that are live in the word file count (see MatchWordFile); the others keep their
// state but are neither asked nor counted.

// The order of the due list: earlier due first, then by word (A-Z without case).
bool DueFirst(const WordMemory* a, const WordMemory* b);
// The words with a state that are due on the day of `nowMs` or before, most overdue first
// (ties in the order of their words, so the queue is the same on every run).
std::vector<const WordMemory*> DueWords(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs);

// Every word with a state, in the order of the due list.
std::vector<const WordMemory*> ReviewedWords(const ReviewMemory& memory);
// The words of `listWords` (the practice list, in its order) never reviewed, up to `newPerDay`
// less those first asked today; each word once.
std::vector<std::string> NewWords(const ReviewMemory& memory, const std::vector<std::string>& listWords,
                                  std::int64_t nowMs, std::int64_t dayOffsetMs, int newPerDay);
// What a review asks: the due words, then the new words.
struct QueuedWords {
    std::vector<std::string> due, fresh;
};
QueuedWords ReviewQueue(const ReviewMemory& memory, const std::vector<std::string>& listWords, std::int64_t nowMs,
                        std::int64_t dayOffsetMs, int newPerDay);

// The counted words due from today through `days` - 1 days on, the overdue ones included.
std::int32_t DueWithin(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs, int days);

// The reviewed words that a review tomorrow would ask: due tomorrow or before.
std::int32_t DueTomorrow(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs);

// When a word comes back, as a learner is told it: tomorrow, else in days, from 60 days in
// months, from two years in years. Days, months and years are never fewer than two, so
// their texts need no singular.
struct ComingBack {
    enum class Unit { Tomorrow, Days, Months, Years };
    Unit unit;
    std::int32_t count;
    bool operator==(const ComingBack&) const = default;
};
// None for a word that is new or already due (its answer was not logged).
std::optional<ComingBack> ComesBackIn(const CardState& card, std::int64_t nowMs, std::int64_t dayOffsetMs);

constexpr int kChartDays = 30;

struct ReviewFigures {
    // Index kChartDays - 1 is today.
    std::array<DayCounts, kChartDays> pastDays{};
    // Index 0 is today, with every overdue word.
    std::array<std::int32_t, kChartDays> dueDays{};
    std::int32_t newWords = 0, young = 0, mature = 0;
};

// `pairWords` is the count of live words of the pair; those without a state are new.
ReviewFigures Figures(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs, std::int64_t pairWords);
// The share of a day's answers that were right (rated Hard or better); -1 without answers.
double RightShare(const DayCounts& day);

// The top of a chart's count axis: the smallest of 1, 2, 5, 10, 20, 50, ... that reaches
// `largest`, so its label is a round number.
std::int32_t AxisTop(std::int32_t largest);

// The figures as tab-separated lines, dates in ISO 8601.
std::string FiguresText(const ReviewFigures& figures, std::int64_t today);
// "2026-01-05" for a day number; "2026-01-05T08:00:00Z" for a time.
std::string DayName(std::int64_t day);
std::string TimeName(std::int64_t ms);
// Reads "2026-01-05T08:00:00Z" (seconds, fraction and "Z" optional); false when it is no such time.
bool ParseTime(const std::string& text, std::int64_t& ms);

}  // namespace review
