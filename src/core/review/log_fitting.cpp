#include "core/review/log_fitting.h"

#include "core/review/review_pair.h"
#include "core/review/review_queue.h"
#include "core/review/stored_weights.h"

namespace review {

bool PredictsBetter(const Evaluation& current, const Evaluation& fitted) {
    return fitted.logLoss <= current.logLoss - 0.0001;
}

LogFit FitLog(std::string_view log, const Weights& current, std::int64_t dayOffsetMs, const FitProgress& progress) {
    LogFit out;
    const ReviewItems items = ItemsFromLog(log, dayOffsetMs);
    out.reviews = items.lines;
    out.words = items.Words();
    out.fit = FitWeights(items, progress);
    if (out.fit.outcome == FitOutcome::Cancelled) {
        out.verdict = FitVerdict::Cancelled;
        return out;
    }
    const ReviewItems measured = MeasuredItems(items);
    out.measured = Evaluate(measured, current, out.current) && Evaluate(measured, out.fit.weights, out.fitted);
    if (!out.measured || out.fit.outcome == FitOutcome::TooFew)
        out.verdict = FitVerdict::TooFew;
    else
        out.verdict = PredictsBetter(out.current, out.fitted) ? FitVerdict::Better : FitVerdict::NotBetter;
    return out;
}

int StoreFit(const std::string& paramsPath, const LogFit& fit, std::int64_t nowMs) {
    if (fit.verdict != FitVerdict::Better) return -1;
    return WriteStoredWeights(paramsPath, {fit.fit.weights, static_cast<std::int64_t>(fit.reviews), fit.current.logLoss,
                                           fit.fitted.logLoss, TimeName(nowMs).substr(0, 10)});
}

bool MeasureLog(std::string_view log, const Weights& weights, std::int64_t dayOffsetMs, Evaluation& out,
                std::vector<CalibrationBin>& bins) {
    bins.clear();
    return Evaluate(MeasuredItems(ItemsFromLog(log, dayOffsetMs)), weights, out, &bins);
}

std::optional<DueChange> DueChangeOf(std::string_view log, const ReplayRules& rules, const Weights& fitted,
                                     std::int64_t nowMs, int days, const std::function<bool()>& going) {
    const auto due = [&](const ReplayRules& under) -> std::optional<std::int32_t> {
        bool whole = true;
        ReviewMemory memory = ReplayLog(log, under, [&] { return whole = !going || going(); });
        if (!whole) return std::nullopt;
        MatchWordFile(memory);
        return DueWithin(memory, nowMs, under.dayOffsetMs, days);
    };
    ReplayRules withFitted = rules;
    withFitted.params.model = MemoryModel(fitted);
    const std::optional<std::int32_t> current = due(rules);
    const std::optional<std::int32_t> after = current ? due(withFitted) : std::nullopt;
    if (!after) return std::nullopt;
    return DueChange{*current, *after};
}

}  // namespace review
