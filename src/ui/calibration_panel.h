// The calibration panel of the review progress window: for the weights in use, each bin of
// the RMSE as a dot at the recall predicted for its reviews (across) and the share recalled
// (up), against the diagonal where the two agree.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/review/optimizer.h"

struct Calibration {
    bool measured = false;  // false while the log has no review to predict
    review::Evaluation evaluation;
    std::vector<review::CalibrationBin> bins;
    std::size_t reviews = 0;  // the reviews measured: the bins' items
    std::string fittedOn;     // the date of the weights in use, YYYY-MM-DD; empty for the defaults
};

// The current pair's log measured under the weights its scheduler uses.
Calibration CurrentCalibration(std::int64_t dayOffsetMs);

// The square of the plot in a panel of `area`, room left for the title, axis labels and the
// lines under it.
RECT CalibrationPlotIn(const RECT& area);
// Where a share lands in the plot: across for predicted, up for recalled.
POINT CalibrationPoint(const RECT& plot, double predicted, double recalled);
// A bin's dot: its radius in pixels grows with the square root of its reviews, so its area
// stands for them.
int CalibrationDotRadius(std::size_t items, std::size_t largest);
// The dots' colour.
extern const COLORREF kCalibrationDot;

void PaintCalibration(HDC dc, const RECT& area, const Calibration& calibration);
