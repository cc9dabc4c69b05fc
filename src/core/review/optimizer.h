// Fits the scheduler's 21 weights to the learner's own log the way the reference optimizer
// (fsrs-rs) does, long-term only, and measures how well a set of weights predicts the log.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/review/review_items.h"
#include "core/review/scheduler.h"

namespace review {

// How well weights predict the items' recall: the log loss and the RMSE over bins of the
// reference's evaluation (both weighted towards recent items as it weights them).
struct Evaluation {
    double logLoss = 0, rmseBins = 0;
};
// One of the bins the RMSE is taken over (reviews alike in their gap, their count and their
// lapses): the mean recall predicted for its items and the share recalled. The RMSE is how far
// these lie from predicted = recalled, so they show a learner what it measures.
struct CalibrationBin {
    double predicted = 0, recalled = 0;
    std::size_t items = 0;
    double weight = 0;  // the items' recency weights: what the bin counts for in the RMSE
};
// False when there is no item to predict. `bins`, when given, gets the bins, by key.
bool Evaluate(const ReviewItems& items, const Weights& weights, Evaluation& out,
              std::vector<CalibrationBin>* bins = nullptr);

// The items as the reference measures them: those its outlier filter keeps, each word's first
// one grouped by first rating and gap ahead of the others (which weighs them as the oldest).
ReviewItems MeasuredItems(const ReviewItems& items);

// The published bounds of each weight; every step of the fit ends inside them.
void ClipWeights(Weights& weights);
bool WeightsInBounds(const Weights& weights);

// The loss a fit descends, each item weighing 1 and without the pull towards the defaults:
// the items' mean cross-entropy, with its gradient by each weight as the fit's steps take it,
// so that the derivatives can be checked against the loss's own differences.
using Gradient = std::array<double, kWeightCount>;
double ItemsLoss(const ReviewItems& items, const Weights& weights, Gradient* gradient = nullptr);

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
