// The weights fitted to a pair's log, kept beside it in "<stem>.revparams" as one line:
//   revparams 1 w0,w1,...,w20 REVIEWS LOGLOSS-BEFORE LOGLOSS-AFTER YYYY-MM-DD
// A file that is damaged, of another format, or holds a weight out of its bounds is never used.
#pragma once

#include <cstdint>
#include <string>

#include "core/review/scheduler.h"

namespace review {

struct StoredWeights {
    Weights weights = kDefaultWeights;
    std::int64_t reviews = 0;  // the log's reviews they were fitted on
    double logLossBefore = 0, logLossAfter = 0;
    std::string date;  // of the fit, YYYY-MM-DD
};

enum class WeightsFile { Missing, Used, Refused };
// Refused: `reason` says why, and `stored` is left as it was.
WeightsFile ReadStoredWeights(const std::string& path, StoredWeights& stored, std::string& reason);
// 0, or -1 (the old file stays).
int WriteStoredWeights(const std::string& path, const StoredWeights& stored);

// "w0,w1,...,w20" in plain decimals, as the file and the command line show them.
std::string WeightsText(const Weights& weights);

}  // namespace review
