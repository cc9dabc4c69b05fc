#include "ui/calibration_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/catalogue/catalogue.h"
#include "core/review/log_fitting.h"
#include "core/review/review_pair.h"
#include "core/review/stored_weights.h"
#include "platform/platform.h"
#include "ui/gdi.h"
#include "ui/ui_text.h"

const COLORREF kCalibrationDot = RGB(40, 90, 200);

namespace {

constexpr COLORREF kAxis = RGB(0, 0, 0), kDiagonal = RGB(160, 160, 160);
// Room for the title above the plot, the recall labels left of it, the axis names under it and
// the panel's lines of text below those.
// Under the plot, four lines of text in five: the first may take two (a translation is
// often longer than the English).
constexpr int kTitle = 22, kLabels = 40, kBelow = 36, kTextLines = 5, kLine = 16;

void Label(HDC dc, const std::wstring& text, RECT r, UINT format) {
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_SINGLELINE | DT_NOPREFIX);
}

// "9 Nov 2026" for "2026-11-09", as every window names a day.
std::wstring DayOf(const std::string& date) {
    SYSTEMTIME day{};
    int y = 0, m = 0, d = 0;
    if (std::sscanf(date.c_str(), "%d-%d-%d", &y, &m, &d) != 3) return WideFromCharset(date.c_str(), 0);
    day.wYear = static_cast<WORD>(y);
    day.wMonth = static_cast<WORD>(m);
    day.wDay = static_cast<WORD>(d);
    return DayWide(day);
}

// The axes, their 0, 50 and 100 percent marks, their names and the diagonal of agreement.
void Frame(HDC dc, const RECT& plot) {
    {
        Pen grey(CreatePen(PS_DOT, 1, kDiagonal));
        SelectGuard pen(dc, grey.get());
        for (int percent : {50, 100}) {
            const POINT across = CalibrationPoint(plot, percent / 100.0, 0),
                        up = CalibrationPoint(plot, 0, percent / 100.0);
            MoveToEx(dc, across.x, plot.bottom, nullptr);
            LineTo(dc, across.x, plot.top);
            MoveToEx(dc, plot.left, up.y, nullptr);
            LineTo(dc, plot.right, up.y);
        }
    }
    Pen diagonal(CreatePen(PS_SOLID, 2, kDiagonal));
    SelectGuard pen(dc, diagonal.get());
    MoveToEx(dc, plot.left, plot.bottom, nullptr);
    LineTo(dc, plot.right, plot.top);
    pen.Select(GetStockObject(BLACK_PEN));
    MoveToEx(dc, plot.left - 1, plot.top, nullptr);
    LineTo(dc, plot.left - 1, plot.bottom);
    LineTo(dc, plot.right, plot.bottom);
    for (int percent : {0, 50, 100}) {
        const std::wstring mark = std::to_wstring(percent) + L"%";
        const POINT p = CalibrationPoint(plot, percent / 100.0, percent / 100.0);
        Label(dc, mark, {plot.left - kLabels, p.y - 8, plot.left - 4, p.y + 8}, DT_RIGHT | DT_VCENTER);
        Label(dc, mark, {p.x - 20, plot.bottom + 2, p.x + 20, plot.bottom + 18}, DT_CENTER | DT_TOP);
    }
    Label(dc, UiWideOr("ReviewChartPredicted", "predicted recall"),
          {plot.left, plot.bottom + 18, plot.right, plot.bottom + kBelow}, DT_CENTER | DT_TOP);
    Label(dc, UiWideOr("ReviewChartRecalled", "actual recall"), {plot.left + 4, plot.top, plot.right, plot.top + kLine},
          DT_LEFT | DT_TOP);
}

}  // namespace

Calibration CurrentCalibration(std::int64_t dayOffsetMs) {
    Calibration c;
    const std::optional<review::PairReviewFiles> files = review::ReviewFilesOf(*CurrentPair);
    std::string log;
    if (!files || !platform::ReadFileBytes(files->log, log)) return c;
    const review::Weights weights = review::RulesFromSettings(dayOffsetMs).params.model.weights();
    c.measured = review::MeasureLog(log, weights, dayOffsetMs, c.evaluation, c.bins);
    for (const review::CalibrationBin& b : c.bins) c.reviews += b.items;
    review::StoredWeights stored;
    std::string reason;
    if (review::ReadStoredWeights(files->params, stored, reason) == review::WeightsFile::Used) c.fittedOn = stored.date;
    return c;
}

RECT CalibrationPlotIn(const RECT& area) {
    const int left = area.left + kLabels, top = area.top + kTitle;
    const int side = std::max(0, std::min(static_cast<int>(area.right - 8 - left),
                                          static_cast<int>(area.bottom - kBelow - kTextLines * kLine - top)));
    return {left, top, left + side, top + side};
}

POINT CalibrationPoint(const RECT& plot, double predicted, double recalled) {
    const double side = plot.right - plot.left;
    return {plot.left + static_cast<int>(std::lround(std::clamp(predicted, 0.0, 1.0) * side)),
            plot.bottom - static_cast<int>(std::lround(std::clamp(recalled, 0.0, 1.0) * side))};
}

int CalibrationDotRadius(std::size_t items, std::size_t largest) {
    if (largest == 0) return 2;
    return 2 + static_cast<int>(std::lround(6 * std::sqrt(static_cast<double>(items) / static_cast<double>(largest))));
}

void PaintCalibration(HDC dc, const RECT& area, const Calibration& c) {
    const RECT plot = CalibrationPlotIn(area);
    SetTextColor(dc, kAxis);
    Label(dc, UiWideOr("ReviewChartCalibration", "How well the schedule predicts you"),
          {area.left, area.top, area.right, area.top + kTitle - 4}, DT_LEFT | DT_BOTTOM);
    Frame(dc, plot);
    std::size_t largest = 0;
    for (const review::CalibrationBin& b : c.bins) largest = std::max(largest, b.items);
    {
        Brush fill(CreateSolidBrush(kCalibrationDot));
        SelectGuard brush(dc, fill.get());
        SelectGuard pen(dc, GetStockObject(NULL_PEN));
        for (const review::CalibrationBin& b : c.bins) {
            const POINT p = CalibrationPoint(plot, b.predicted, b.recalled);
            const int r = CalibrationDotRadius(b.items, largest);
            // Ellipse leaves out its right and bottom edges without a pen: one more each way.
            Ellipse(dc, p.x - r, p.y - r, p.x + r + 1, p.y + r + 1);
        }
    }
    std::wstring lines[kTextLines - 1];
    if (!c.measured) {
        lines[0] = UiWideOr("ReviewChartCalibrationNone", "Not enough reviews yet to measure.");
    } else {
        lines[0] = UiWideOr("ReviewChartCalibrationDots", "A dot: reviews alike; on the line, predicted exactly.");
        lines[1] = WithCounts(UiWideOr("ReviewChartCalibrationReviews", "Reviews measured: %d"),
                              {static_cast<std::int64_t>(c.reviews)});
        lines[2] = WithTexts(UiWideOr("ReviewChartCalibrationFigures", "Log loss %s, RMSE %s"),
                             {DecimalWide(c.evaluation.logLoss), DecimalWide(c.evaluation.rmseBins)});
    }
    lines[3] = c.fittedOn.empty() ? UiWideOr("ReviewChartCalibrationDefaults", "Parameters: the defaults")
                                  : WithTexts(UiWideOr("ReviewChartCalibrationFitted", "Parameters: fitted on %s"),
                                              {DayOf(c.fittedOn)});
    const int top = plot.bottom + kBelow;
    RECT first{area.left, top, area.right, top + 2 * kLine};
    DrawTextW(dc, lines[0].c_str(), -1, &first, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    for (int i = 1; i < kTextLines - 1; ++i)
        Label(dc, lines[i], {area.left, top + (i + 1) * kLine, area.right, top + (i + 2) * kLine}, DT_LEFT | DT_TOP);
}
