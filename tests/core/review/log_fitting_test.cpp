#include "core/review/log_fitting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/review/review_queue.h"
#include "core/review/stored_weights.h"
#include "core/store/store.h"
#include "review_support.h"
#include "test_support.h"

namespace {

using review::FitVerdict;
using review::kDayMs;
using review_test::kMonday;

// `words` words first rated Good on Monday; three days later the first `recalled` of them
// were answered Good, the others Again.
std::string ThreeDaysLater(int words, int recalled) {
    return review_test::Learner(words, 3, {3}, [=](int w) { return w < recalled ? 3 : 1; });
}

// What a fit decides: too few reviews store nothing; fitted weights are kept, and written
// with the reviews they were fitted on and both log losses, only when they predict better
// than those in use, and a second fit of the same log does not.
TEST(LogFittingTest, AFitIsKeptOnlyWhenItPredictsBetter) {
    const WorkDir dir;
    const std::string few = review_test::FittingFile("few.revlog");
    const review::LogFit first = review::FitLog(few, review::kDefaultWeights, 0);
    ASSERT_EQ(first.verdict, FitVerdict::Better);
    EXPECT_EQ(first.reviews, 214u);
    EXPECT_LT(first.fitted.logLoss, first.current.logLoss);
    ASSERT_EQ(review::StoreFit("p.revparams", first, kMonday), 0);
    review::StoredWeights stored;
    std::string reason;
    ASSERT_EQ(review::ReadStoredWeights("p.revparams", stored, reason), review::WeightsFile::Used) << reason;
    EXPECT_EQ(std::tuple(stored.reviews, stored.date), std::tuple(214, "2026-01-05"));
    EXPECT_NEAR(stored.logLossBefore, first.current.logLoss, 1e-6);
    EXPECT_NEAR(stored.logLossAfter, first.fitted.logLoss, 1e-6);
    for (std::size_t i = 0; i < stored.weights.size(); ++i) EXPECT_NEAR(stored.weights[i], first.fit.weights[i], 1e-6);

    struct Case {
        const char* what;
        std::string log;
        review::Weights current;
        FitVerdict verdict;
        bool measured;
    };
    const Case cases[] = {
        {"five words' second answers", ThreeDaysLater(5, 5), review::kDefaultWeights, FitVerdict::TooFew, false},
        {"the log fitted once more", few, first.fit.weights, FitVerdict::NotBetter, true},
        {"all forgotten", ThreeDaysLater(30, 0), review::kDefaultWeights, FitVerdict::Better, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const review::LogFit fit = review::FitLog(c.log, c.current, 0);
        EXPECT_EQ(fit.verdict, c.verdict);
        EXPECT_EQ(fit.measured, c.measured);
        EXPECT_EQ(review::StoreFit("q.revparams", fit, kMonday), c.verdict == FitVerdict::Better ? 0 : -1);
        EXPECT_EQ(platform::FileExists("q.revparams"), c.verdict == FitVerdict::Better);
    }
}

// Thirty words answered three days after their first Good fall in one bin, and the RMSE
// (the reference fixtures pin it, and so the prediction) is that bin's distance from what was
// recalled.
TEST(LogFittingTest, TheCalibrationBinsAreThoseOfTheRmse) {
    review::Evaluation evaluation;
    std::vector<review::CalibrationBin> bins;
    ASSERT_TRUE(review::MeasureLog(ThreeDaysLater(30, 20), review::kDefaultWeights, 0, evaluation, bins));
    ASSERT_EQ(bins.size(), 1u);
    EXPECT_EQ(bins[0].items, 30u);
    EXPECT_NEAR(bins[0].recalled, 20.0 / 30, 1e-9);
    EXPECT_NEAR(evaluation.rmseBins, std::abs(bins[0].predicted - bins[0].recalled), 1e-9);
}

using DueChangeTest = InWorkDir;

// The words due in the days ahead under each set of weights: Good's first stability of the
// defaults brings both words of the word file back within days, one of 60 days keeps them
// away for a month; a word the word file lacks is never counted.
TEST_F(DueChangeTest, DueWordsAreCountedUnderEachSetOfWeights) {
    OpenPair("[languages]\ngerman\n", {Record("boom", "x"), Record("huis", "x")});
    const std::string log = review::LogLine({kMonday, "boom", 3, 900}) + review::LogLine({kMonday, "huis", 3, 900}) +
                            review::LogLine({kMonday, "weg", 3, 900});
    review::Weights slow = review::kDefaultWeights;
    slow[2] = 60;
    const struct {
        std::int64_t now;
        int days;
        std::int32_t current, fitted;
    } cases[] = {
        {kMonday, 30, 2, 0},               // the defaults' words come back within the month
        {kMonday + 10 * kDayMs, 1, 2, 0},  // overdue words count from today on
        {kMonday + 40 * kDayMs, 30, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.now / kDayMs - kMonday / kDayMs);
        const review::DueChange change = *review::DueChangeOf(log, review::ReplayRules{}, slow, c.now, c.days);
        EXPECT_EQ(change.current, c.current);
        EXPECT_EQ(change.fitted, c.fitted);
    }
}

// A long log's replays ask between their lines whether to go on; a no stops them there, and
// no count comes out.
TEST_F(DueChangeTest, TheReplaysAskToGoOnAndStopWhenTold) {
    OpenPair("[languages]\ngerman\n", {Record("boom", "x")});
    std::string log;
    for (int i = 0; i < 10000; ++i) log += review::LogLine({kMonday + i * 1000, "boom", 3, 900});
    const std::pair<int, int> cases[] = {{100, 4}, {2, 3}, {1, 2}};  // yeses, then the asks made: two a replay
    for (auto [yeses, asks] : cases) {
        int asked = 0;
        const auto change = review::DueChangeOf(log, review::ReplayRules{}, review::kDefaultWeights, kMonday, 30,
                                                [&] { return ++asked <= yeses; });
        EXPECT_EQ(change.has_value(), yeses == 100) << yeses;
        EXPECT_EQ(asked, asks) << yeses;
    }
}

}  // namespace
