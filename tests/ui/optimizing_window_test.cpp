// "Optimize review for this pair" worked in-process: what its message says of each kind of
// fit, and that only Yes stores the fit while Escape stops it with nothing said or stored
// (which fits are better is the core's).

#include "ui/optimizing_window.h"

#include "core/review/review_log.h"
#include "core/review/review_pair.h"
#include "core/review/stored_weights.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "ui/review_window.h"
#include "ui/ui_support.h"

namespace {

constexpr std::int64_t kMonday = 1767600000000;  // 2026-01-05 08:00 UTC

review::LogFit FitOf(review::FitVerdict verdict) {
    review::LogFit fit;
    fit.verdict = verdict;
    fit.reviews = 214;
    fit.words = 30;
    fit.measured = verdict != review::FitVerdict::TooFew;
    fit.current = {0.14086, 0.0941};
    fit.fitted = {0.12143, 0.0738};
    return fit;
}

class OptimizingTest : public UiTest {
protected:
    void SetUp() override {
        StartEnglish({Record("cat", "kat")});
        ReviewClock = [] { return kMonday; };
    }
    // 100 words first answered Good a month ago, 80 of them recalled 3 days later, all of
    // them 9 days after that: enough for the fit to train every weight.
    void WriteLog() {
        std::string log;
        const std::int64_t start = kMonday - 30 * review::kDayMs;
        for (int day : {0, 3, 12})
            for (int w = 0; w < 100; ++w)
                log += review::LogLine({start + day * review::kDayMs + w * 1000, "w" + std::to_string(w),
                                        day == 3 && w >= 80 ? 1 : 3, 1000});
        ASSERT_EQ(platform::ReplaceFileWith(files().log, log), 0);
    }
    static review::PairReviewFiles files() { return *review::ReviewFilesOf(*CurrentPair); }
};

}  // namespace

TEST_F(OptimizingTest, TheMessageGivesTheFiguresAndAsksOnlyOfABetterFit) {
    const std::wstring figures =
        L"Reviews used: 214, of 30 words\n\n"
        L"Log loss (lower is better): 0.1409 now, 0.1214 fitted\n"
        L"RMSE over bins (lower is better): 0.0941 now, 0.0738 fitted\n\n";
    const struct {
        review::FitVerdict verdict;
        std::wstring text;
    } cases[] = {
        {review::FitVerdict::Better, figures +
                                         L"Words due in the next 30 days: 12 now, 7 with the fitted parameters\n\n"
                                         L"Use the fitted parameters for this pair?"},
        {review::FitVerdict::NotBetter,
         figures + L"The parameters in use predict your answers as well or better: they stay."},
        {review::FitVerdict::TooFew,
         L"This pair's log has too few reviews to fit the schedule to (214 reviews of 30 words). Nothing changes; "
         L"try again after more reviews."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OptimizeReportText(FitOf(c.verdict), {12, 7}), c.text) << static_cast<int>(c.verdict);
}

// Escape in the progress window stops the fit: no message, nothing stored. Then the question
// is asked, and only Yes stores the fitted weights.
TEST_F(OptimizingTest, EscapeStopsTheFitAndOnlyYesStoresIt) {
    WriteLog();
    bool stored = true;
    std::vector<ShownBox> boxes = BoxesShownWhile([&] {
        PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
        stored = OptimizeReview(MainWindow);
    });
    EXPECT_FALSE(stored);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(platform::FileExists(files().params));

    for (int button : {IDNO, IDYES}) {
        SCOPED_TRACE(button);
        boxes = BoxesShownWhile([&] { stored = OptimizeReview(MainWindow); }, button);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(L"Reviews used: 300, of 100 words"), std::wstring::npos) << boxes[0].text;
        EXPECT_NE(boxes[0].text.find(L"Use the fitted parameters for this pair?"), std::wstring::npos) << boxes[0].text;
        EXPECT_EQ(stored, button == IDYES);
        EXPECT_EQ(platform::FileExists(files().params), button == IDYES);
    }
    review::StoredWeights weights;
    std::string reason;
    EXPECT_EQ(review::ReadStoredWeights(files().params, weights, reason), review::WeightsFile::Used) << reason;
    EXPECT_EQ(weights.date, "2026-01-05");
}
