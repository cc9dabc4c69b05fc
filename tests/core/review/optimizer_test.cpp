#include "core/review/optimizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "core/exchange/gzip.h"
#include "core/review/log_fitting.h"
#include "review_support.h"

namespace {

using review::Weights;
using review_test::FittingFile;

// A learner of the fitting files and what the reference optimizer made of its log.
struct Fixture {
    std::string log;
    std::size_t items = 0;
    Weights fitted{};
    review::Evaluation fittedEvaluation;
};

Fixture ReadFixture(const std::string& name) {
    Fixture f;
    std::string error, word;
    if (name == "few")
        f.log = FittingFile("few.revlog");
    else
        EXPECT_TRUE(Gunzip(FittingFile(name + ".revlog.gz"), f.log, error)) << error;
    // The fitted weights are separated by commas.
    std::string expected = FittingFile(name + ".expected");
    std::replace(expected.begin(), expected.end(), ',', ' ');
    std::istringstream in(expected);
    in >> word >> word >> word >> f.items >> word;  // reviews N items N
    for (double& w : f.fitted) in >> w;
    in >> word >> f.fittedEvaluation.logLoss >> f.fittedEvaluation.rmseBins;
    EXPECT_FALSE(in.fail()) << name;
    return f;
}

// Under 64 items only the first stabilities are fitted (fewer than 8 are the log fitting's);
// a fit of a log stops when its progress says so, and then decides nothing.
TEST(OptimizerTest, FewItemsFitOnlyTheFirstStabilitiesAndAFitCanBeStopped) {
    // All forgotten after 3 days: Good's first stability falls; the rest stay the defaults.
    const review::Fit initial =
        review::FitWeights(review::ItemsFromLog(review_test::Learner(30, 3, {3}, [](int) { return 1; }), 0));
    EXPECT_EQ(initial.outcome, review::FitOutcome::InitialOnly);
    EXPECT_LT(initial.weights[2], review::kDefaultWeights[2]);
    EXPECT_TRUE(std::equal(initial.weights.begin() + 4, initial.weights.end(), review::kDefaultWeights.begin() + 4));

    std::size_t calls = 0, lastDone = 0, total = 0;
    const auto progress = [&](std::size_t done, std::size_t all) {
        EXPECT_GT(done, lastDone);
        lastDone = done;
        total = all;
        return ++calls < 3;
    };
    const review::LogFit stopped = review::FitLog(ReadFixture("steady").log, review::kDefaultWeights, 0, progress);
    EXPECT_EQ(stopped.verdict, review::FitVerdict::Cancelled);
    EXPECT_EQ(calls, 3u);
    EXPECT_EQ(total, 5 * stopped.fit.trainingItems);
}

// The big learner is measured in tools/bench.sh: fitting it under the sanitizers takes long.
TEST(OptimizerTest, MeasuresAsTheReferenceAndFitsAsWellOnEachLearner) {
    for (const char* name : {"few", "steady", "forgetful"}) {
        SCOPED_TRACE(name);
        const Fixture f = ReadFixture(name);
        const review::ReviewItems all = review::ItemsFromLog(f.log, 0);
        ASSERT_EQ(all.items.size(), f.items);
        const review::ReviewItems items = review::MeasuredItems(all);
        review::Evaluation ours;
        ASSERT_TRUE(review::Evaluate(items, f.fitted, ours));
        EXPECT_NEAR(ours.logLoss, f.fittedEvaluation.logLoss, 1e-4);
        EXPECT_NEAR(ours.rmseBins, f.fittedEvaluation.rmseBins, 1e-4);

        const review::Fit fit = review::FitWeights(all);
        EXPECT_TRUE(review::WeightsInBounds(fit.weights));
        ASSERT_TRUE(review::Evaluate(items, fit.weights, ours));
        EXPECT_LE(ours.logLoss, f.fittedEvaluation.logLoss + 0.002);
        EXPECT_LE(ours.rmseBins, f.fittedEvaluation.rmseBins + 0.005);
    }
}

// The fit steps along the gradient that its forward derivatives give: each one must match the
// loss's own central difference, for the defaults and for weights unlike them, over a learner
// who answered with every rating.
TEST(OptimizerTest, GradientsMatchTheLossesDifferences) {
    const review::ReviewItems items = review::ItemsFromLog(ReadFixture("few").log, 0);
    ASSERT_GT(items.items.size(), 100u);
    Weights unlike = review::kDefaultWeights;
    for (std::size_t i = 0; i < unlike.size(); ++i) unlike[i] *= i % 2 == 0 ? 1.3 : 0.8;
    unlike[7] = 0.2;  // away from its bound, so both sides of the difference are in the model's domain
    unlike[17] = 0.9;
    unlike[18] = 0.4;  // a lapse's cap exp(w17 w18) then binds for some words
    for (const Weights& w : {review::kDefaultWeights, unlike}) {
        review::Gradient gradient{};
        review::ItemsLoss(items, w, &gradient);
        for (std::size_t i = 0; i < w.size(); ++i) {
            SCOPED_TRACE("w" + std::to_string(i));
            const double h = 1e-5 * std::max(1.0, w[i]);
            Weights up = w, down = w;
            up[i] += h;
            down[i] -= h;
            const double difference = (review::ItemsLoss(items, up) - review::ItemsLoss(items, down)) / (2 * h);
            EXPECT_NEAR(gradient[i], difference, 1e-5 + 1e-3 * std::abs(difference));
        }
    }
}

}  // namespace
