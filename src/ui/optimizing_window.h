// "Optimize review for this pair": the scheduler's weights fitted to the pair's log under a
// progress window that Escape or its close box stops, then the figures and the question
// whether to use them.
#pragma once

#include <windows.h>

#include <string>

#include "core/review/log_fitting.h"

// Fits, tells and asks; true when fitted weights were stored (the due counts change then).
bool OptimizeReview(HWND owner);

// What the user is told of a fit: the reviews used, log loss and RMSE before and after, and
// for a better fit the words due in the days ahead under each set and the question; for the
// others why nothing changes.
std::wstring OptimizeReportText(const review::LogFit& fit, const review::DueChange& due);
