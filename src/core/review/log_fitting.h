// Fitting a pair's log as the program and the command line both do it: the fit measured
// against the weights in use on the same reviews, whether it is kept, and what it would
// change in the days ahead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/review/optimizer.h"
#include "core/review/review_memory.h"

namespace review {

enum class FitVerdict {
    TooFew,     // too few reviews to measure or to fit: nothing is stored
    NotBetter,  // the weights in use predict as well or better
    Better,     // worth storing
    Cancelled,
};

struct LogFit {
    FitVerdict verdict = FitVerdict::TooFew;
    std::size_t reviews = 0, words = 0;  // the log's sound lines and their words
    Fit fit;
    bool measured = false;       // false when the log has no review to predict
    Evaluation current, fitted;  // on the same reviews, when measured
};
LogFit FitLog(std::string_view log, const Weights& current, std::int64_t dayOffsetMs, const FitProgress& progress = {});

// Fitted weights are kept only when their log loss is lower, as the reference's users keep
// them, by at least what the figures show: a second fit of the same log differs from the
// stored one only by its rounding.
bool PredictsBetter(const Evaluation& current, const Evaluation& fitted);

// Writes a better fit to the pair's weights file, dated by `nowMs` (UTC); 0, or -1 when the
// verdict is not Better or the file cannot be written (the old one stays).
int StoreFit(const std::string& paramsPath, const LogFit& fit, std::int64_t nowMs);

// How well `weights` predict the log, measured as a fit is, with the bins of the RMSE;
// false when the log has nothing to predict.
bool MeasureLog(std::string_view log, const Weights& weights, std::int64_t dayOffsetMs, Evaluation& out,
                std::vector<CalibrationBin>& bins);

// The pair's words due from today through the next `days` - 1 days (the overdue ones
// included), with the log replayed under the weights in use and under the fitted ones. Only
// the open word file's live words count, as everywhere else. `going` as a replay takes it;
// none when it stopped one.
struct DueChange {
    std::int32_t current = 0, fitted = 0;
};
std::optional<DueChange> DueChangeOf(std::string_view log, const ReplayRules& rules, const Weights& fitted,
                                     std::int64_t nowMs, int days, const std::function<bool()>& going = {});

}  // namespace review
