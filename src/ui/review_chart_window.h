// The review progress window: reviews of the last 30 days by rating, the share answered
// right, the words due on each of the next 30 days, the new, young and mature words, and
// beside them how well the schedule predicts the learner (the calibration panel).
#pragma once

#include <windows.h>

#include <string>

#include "core/review/review_queue.h"
#include "ui/calibration_panel.h"

HWND OpenReviewChart();

// Where the four charts' plotting areas lie in a client area of `client`: reviews,
// right share, due days, word counts; and the calibration panel's whole area at the right.
struct ChartAreas {
    RECT reviews, right, due, words, calibration;
};
ChartAreas ChartAreasIn(const RECT& client);

// The rating colours of the stacked bars, Again to Easy.
extern const COLORREF kRatingColours[4];

// "9 Nov": the day so many days from today (negative: before), as the axes name it.
std::wstring ChartDayName(int daysFromToday);
// What the bar at `at` stands for, when it points at one: its day and counts.
std::wstring ChartPointedText(const RECT& client, POINT at, const review::ReviewFigures& figures);

// Draws the whole picture, days labelled from today.
void PaintReviewChart(HDC dc, const RECT& client, const review::ReviewFigures& figures,
                      const Calibration& calibration = {});
