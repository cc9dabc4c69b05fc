// The review progress picture drawn in-process into a bitmap and read back by its pixels.

#include "ui/review_chart_window.h"

#include <cmath>

#include "ui/ui_support.h"
#include "ui/ui_text.h"

namespace {

class ReviewChartTest : public UiTest {
protected:
    void SetUp() override { Start("[languages]\nenglish\n"); }

    // A bar's height in pixels for `count` of an axis reaching `top`, to the nearest pixel.
    static int Height(int count, int top, const RECT& plot) {
        return static_cast<int>(std::lround(static_cast<double>(count) * (plot.bottom - plot.top) / top));
    }
    // The picture of `f` (and `c`) in a client area of `client`, drawn on white.
    static void Paint(const Canvas& canvas, const RECT& client, const review::ReviewFigures& f,
                      const Calibration& c = {}) {
        PatBlt(canvas.dc(), 0, 0, client.right, client.bottom, WHITENESS);
        PaintReviewChart(canvas.dc(), client, f, c);
    }
    // The run of pixels of `colour` going up column `x` from just above `bottom`.
    static int RunUp(HDC dc, int x, int bottom, COLORREF colour) {
        int n = 0;
        while (GetPixel(dc, x, bottom - 1 - n) == colour) ++n;
        return n;
    }
};

}  // namespace

// The bars stand as high as their counts; the rating colours' legend stands with the reviews
// they colour, and a bar pointed at says its day and counts; the days are dates.
TEST_F(ReviewChartTest, BarsStandAsHighAsTheirCountsUnderTheirLegend) {
    review::ReviewFigures f;
    f.pastDays[0].byRating = {0, 0, 20, 0};  // the day with most answers: the axis reaches 20
    f.pastDays[29].byRating = {3, 0, 7, 0};  // today: 3 Again under 7 Good
    f.dueDays[1] = 4;
    f.dueDays[2] = 3;  // the axis reaches 5
    f.newWords = 50;
    f.young = 10;

    const RECT client = {0, 0, 740, 520};
    const Canvas canvas(client.right, client.bottom);
    Paint(canvas, client, f);
    HDC dc = canvas.dc();

    const ChartAreas areas = ChartAreasIn(client);
    const RECT& r = areas.reviews;
    const int today = r.left + (29 * (r.right - r.left) / 30 + 30 * (r.right - r.left) / 30) / 2;
    EXPECT_EQ(RunUp(dc, today, r.bottom, kRatingColours[0]), Height(3, 20, r));
    EXPECT_EQ(RunUp(dc, today, r.bottom - Height(3, 20, r), kRatingColours[2]), Height(10, 20, r) - Height(3, 20, r));
    const int first = r.left + (r.right - r.left) / 60;
    EXPECT_EQ(RunUp(dc, first, r.bottom, kRatingColours[2]), r.bottom - r.top);

    // Today's answers were 70% right; tomorrow 4 of an axis of 5 are due.
    const RECT& right = areas.right;
    const int rightToday = right.left + (59 * (right.right - right.left)) / 60;
    EXPECT_EQ(RunUp(dc, rightToday, right.bottom, kRatingColours[2]), Height(70, 100, right));
    const RECT& due = areas.due;
    const int tomorrow = due.left + 3 * (due.right - due.left) / 60;
    EXPECT_EQ(RunUp(dc, tomorrow, due.bottom, RGB(90, 90, 160)), Height(4, 5, due));

    auto holds = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = r.left; x < r.left + 12; ++x)
                if (GetPixel(dc, x, y) == kRatingColours[0]) return true;
        return false;
    };
    EXPECT_TRUE(holds(r.bottom + 1, due.top));
    EXPECT_FALSE(holds(due.bottom + 1, client.bottom));

    const std::wstring day = ChartDayName(0);
    EXPECT_NE(day, ChartDayName(-29));
    EXPECT_EQ(ChartPointedText(client, {r.right - 2, r.bottom - 2}, f), day + L": again 3 hard 0 good 7 easy 0 (10)");
    EXPECT_EQ(ChartPointedText(client, {tomorrow, due.bottom - 2}, f), ChartDayName(1) + L": 4");
    EXPECT_EQ(ChartPointedText(client, {2, 2}, f), L"");
}

// The calibration panel: each bin a dot at its predicted recall across and
// its actual recall up, sized by its reviews, over the diagonal of perfect calibration.
TEST_F(ReviewChartTest, TheCalibrationPanelPlotsEachBinAgainstTheDiagonal) {
    const RECT client = {0, 0, 1040, 520};
    const ChartAreas areas = ChartAreasIn(client);
    Calibration c;
    c.measured = true;
    c.bins = {{0.9, 0.6, 100, 50}, {0.3, 0.5, 4, 2}};
    const Canvas canvas(client.right, client.bottom);
    Paint(canvas, client, review::ReviewFigures{}, c);
    HDC dc = canvas.dc();
    const RECT plot = CalibrationPlotIn(areas.calibration);
    const int side = plot.right - plot.left;
    ASSERT_EQ(plot.bottom - plot.top, side);
    ASSERT_GT(side, 150);
    const auto at = [&](double across, double up) {
        return POINT{plot.left + static_cast<int>(std::lround(across * side)),
                     plot.bottom - static_cast<int>(std::lround(up * side))};
    };
    // Dots' widths: the big bin's about 2 x 8 pixels, the small one's about 2 x 3.
    const auto width = [&](POINT p) {
        int left = 0, right = 0;
        while (GetPixel(dc, p.x - left - 1, p.y) == kCalibrationDot) ++left;
        while (GetPixel(dc, p.x + right + 1, p.y) == kCalibrationDot) ++right;
        return left + right + 1;
    };
    const POINT big = at(0.9, 0.6), small = at(0.3, 0.5);
    EXPECT_EQ(GetPixel(dc, big.x, big.y), kCalibrationDot);
    EXPECT_NEAR(width(big), 17, 1);
    EXPECT_EQ(GetPixel(dc, small.x, small.y), kCalibrationDot);
    EXPECT_NEAR(width(small), 7, 1);
    EXPECT_NE(GetPixel(dc, at(0.6, 0.9).x, at(0.6, 0.9).y), kCalibrationDot);  // not mirrored
    // The diagonal runs grey from corner to corner.
    for (double share : {0.1, 0.25, 0.75}) {
        const POINT p = at(share, share);
        bool grey = false;
        for (int dy = -1; dy <= 1; ++dy) grey = grey || GetPixel(dc, p.x, p.y + dy) == RGB(160, 160, 160);
        EXPECT_TRUE(grey) << share;
    }
}

// The caption names the pair; Escape closes the window.
TEST_F(ReviewChartTest, TheWindowNamesItsPairAndClosesOnEscape) {
    HWND chart = OpenWindow(OpenReviewChart);
    ASSERT_NE(chart, nullptr);
    EXPECT_NE(WideText(chart).find(L"english"), std::wstring::npos) << WideText(chart);
    SendMessageW(chart, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(chart));
}

// Days are named one way in every window: the chart's axes, the restore window's backups.
TEST_F(ReviewChartTest, DaysAreNamedOneWayEverywhere) {
    const SYSTEMTIME day = {2026, 11, 1, 9, 14, 5, 3, 0};  // a Monday
    EXPECT_EQ(DayWide(day, false), L"9 Nov");
    EXPECT_EQ(DayWide(day), L"9 Nov 2026");
    EXPECT_EQ(DayWide(day, true, true), L"9 Nov 2026 14:05:03");
}
