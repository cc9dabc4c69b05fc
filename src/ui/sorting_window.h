// The "sorting" status window shown while a word file is re-sorted.
#pragma once

#include <string>

#include "core/store/sorting.h"

// `busy`, when given, says what other work the window shows in place of the sort's text.
void ShowSortingWindow(std::wstring busy = {});
void CloseSortingWindow();
// The progress drawn into the open sorting window: the phase, the count and the clock.
SortProgress& SortingWindowProgress();
// Whether the user asked to stop the work the open sorting window shows (see ProgressCancelled).
bool SortingWindowCancelled();
// Sorts the current word file under the sorting window; a failure is shown to the user.
// 0 or -1 as the sort, which merges the records after the first `sortedCount` into them.
int RunSort(std::int32_t sortedCount = 0);
