// Fits the scheduler's 21 weights to the learner's own log the way the reference optimizer
// (fsrs-rs) does, long-term only, and measures how well a set of weights predicts the log.
#pragma once

#include <cstddef>
#include <functional>

#include "core/review/review_items.h"
#include "core/review/scheduler.h"

namespace review {

// How well weights predict the items' recall: the log loss and the RMSE over bins of the
// reference's evaluation (both weighted towards recent items as it weights them).
struct Evaluation {
    double logLoss = 0, rmseBins = 0;
};
// False when there is no item to predict.
bool Evaluate(const ReviewItems& items, const Weights& weights, Evaluation& out);

// The items as the reference measures them: those its outlier filter keeps, each word's first
// one grouped by first rating and gap ahead of the others (which weighs them as the oldest).
ReviewItems MeasuredItems(const ReviewItems& items);

// The published bounds of each weight; every step of the fit ends inside them.
void ClipWeights(Weights& weights);
bool WeightsInBounds(const Weights& weights);

enum class FitOutcome {
    Fitted,       // all 21 weights
    InitialOnly,  // under 64 items: only the first reviews' stabilities w0-w3
    TooFew,       // under 8 items, or no first reviews to start from: the defaults
    Cancelled,
};
struct Fit {
    FitOutcome outcome = FitOutcome::TooFew;
    Weights weights = kDefaultWeights;
    std::size_t trainingItems = 0;  // after the outlier filter
};
// Called after every batch with the items done and the items to do in all epochs; false stops
// the fit.
using FitProgress = std::function<bool(std::size_t done, std::size_t total)>;
Fit FitWeights(const ReviewItems& items, const FitProgress& progress = {});

}  // namespace review
