#include "core/review/optimizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "core/exchange/gzip.h"
#include "core/review/review_log.h"
#include "platform/platform.h"

namespace {

using review::Weights;

// A fixture of tools/fsrs-fixtures.mjs: a simulated learner's log and what the reference
// optimizer made of it.
struct Fixture {
    std::string log;
    std::size_t items = 0;
    Weights fitted{};
    review::Evaluation fittedEvaluation, defaultEvaluation;
};

Fixture ReadFixture(const std::string& name) {
    Fixture f;
    const std::string dir = std::string(DICT_SOURCE_DIR) + "/tests/core/review/fitting/";
    std::string bytes, error, expected;
    if (!platform::ReadFileBytes(dir + name + ".revlog", f.log)) {
        EXPECT_TRUE(platform::ReadFileBytes(dir + name + ".revlog.gz", bytes)) << name;
        EXPECT_TRUE(Gunzip(bytes, f.log, error)) << error;
    }
    EXPECT_TRUE(platform::ReadFileBytes(dir + name + ".expected", expected)) << name;
    std::istringstream in(expected);
    std::string word, numbers;
    std::size_t reviews = 0;
    in >> word >> reviews >> word >> f.items >> word >> numbers;
    std::istringstream list(numbers);
    for (double& w : f.fitted) {
        list >> w;
        list.ignore(1);
    }
    in >> word >> f.fittedEvaluation.logLoss >> f.fittedEvaluation.rmseBins;
    in >> word >> f.defaultEvaluation.logLoss >> f.defaultEvaluation.rmseBins;
    EXPECT_FALSE(in.fail()) << name;
    return f;
}

// `words` words first rated `first` on day 0, then answered `second` on the days given.
std::string Learner(int words, int first, int second, std::initializer_list<int> days) {
    std::string log;
    for (int w = 0; w < words; ++w)
        log += review::LogLine({1767600000000 + w * 1000, "w" + std::to_string(w), first, 1000});
    for (int day : days)
        for (int w = 0; w < words; ++w)
            log += review::LogLine(
                {1767600000000 + day * review::kDayMs + w * 1000, "w" + std::to_string(w), second, 1000});
    return log;
}

// One item per review on a later day than the word's one before, in log order; damaged lines
// and same-day answers give none.
TEST(OptimizerTest, ItemsAreTheLaterDaysReviewsOfTheGoodLines) {
    const std::string log = review::LogLine({1767600000000, "cat", 3, 0}) + "garbage\r\n" +
                            review::LogLine({1767600000000 + 3600000, "Cat", 1, 0}) +
                            review::LogLine({1767600000000 + 2 * review::kDayMs, "dog", 3, 0}) +
                            review::LogLine({1767600000000 + 3 * review::kDayMs, "CAT", 4, 0}) +
                            review::LogLine({1767600000000 + 5 * review::kDayMs, "dog", 2, 0});
    const review::ReviewItems items = review::ItemsFromLog(log, 0);
    EXPECT_EQ(items.lines, 5u);
    EXPECT_EQ(items.damaged, 1u);
    EXPECT_EQ(items.Words(), 2u);
    ASSERT_EQ(items.items.size(), 2u);
    // cat's third review, 3 days after the same-day second; then dog's second, 3 days on.
    EXPECT_EQ(items.reviews[items.items[0]], 3u << 3 | 4u);
    EXPECT_EQ(items.reviews[items.items[1]], 3u << 3 | 2u);
    EXPECT_EQ(items.itemWord[0], 0u);
    EXPECT_EQ(items.itemWord[1], 1u);
}

// Under 8 items the defaults stay; under 64 only the first stabilities are fitted; a fit stops
// when its progress says so.
TEST(OptimizerTest, TooFewItemsKeepTheDefaultsAndAFitCanBeStopped) {
    const review::Fit few = review::FitWeights(review::ItemsFromLog(Learner(5, 3, 3, {3}), 0));
    EXPECT_EQ(few.outcome, review::FitOutcome::TooFew);
    EXPECT_EQ(few.weights, review::kDefaultWeights);

    // All forgotten after 3 days: Good's first stability falls; the rest stay the defaults.
    const review::Fit initial = review::FitWeights(review::ItemsFromLog(Learner(30, 3, 1, {3}), 0));
    EXPECT_EQ(initial.outcome, review::FitOutcome::InitialOnly);
    EXPECT_LT(initial.weights[2], review::kDefaultWeights[2]);
    EXPECT_TRUE(std::equal(initial.weights.begin() + 4, initial.weights.end(), review::kDefaultWeights.begin() + 4));

    const review::ReviewItems items = review::ItemsFromLog(ReadFixture("steady").log, 0);
    std::size_t calls = 0, lastDone = 0, total = 0;
    const review::Fit stopped = review::FitWeights(items, [&](std::size_t done, std::size_t all) {
        EXPECT_GT(done, lastDone);
        lastDone = done;
        total = all;
        return ++calls < 3;
    });
    EXPECT_EQ(stopped.outcome, review::FitOutcome::Cancelled);
    EXPECT_EQ(calls, 3u);
    EXPECT_EQ(total, 5 * stopped.trainingItems);
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
        ASSERT_TRUE(review::Evaluate(items, review::kDefaultWeights, ours));
        EXPECT_NEAR(ours.logLoss, f.defaultEvaluation.logLoss, 1e-4);
        EXPECT_NEAR(ours.rmseBins, f.defaultEvaluation.rmseBins, 1e-4);

        const review::Fit fit = review::FitWeights(all);
        EXPECT_TRUE(review::WeightsInBounds(fit.weights));
        ASSERT_TRUE(review::Evaluate(items, fit.weights, ours));
        std::printf("%s: log loss %.4f (reference %.4f), RMSE(bins) %.4f (reference %.4f)\n", name, ours.logLoss,
                    f.fittedEvaluation.logLoss, ours.rmseBins, f.fittedEvaluation.rmseBins);
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
