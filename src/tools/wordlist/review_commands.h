// Spaced review of the current pair: logging an answer, what is due, the progress figures,
// the log for the optimizer, and fitting the scheduler's weights to it. Days are UTC days here.
#pragma once

#include "tools/wordlist/options.h"

namespace wordlist {

int ReviewCommand(const Options& options);
int DueCommand(const Options& options);
int ReviewStatsCommand(const Options& options);
int ReviewLogExportCommand(const Options& options);
int ReviewOptimizeCommand(const Options& options);

}  // namespace wordlist
