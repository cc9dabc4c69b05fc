// The "sorting" status window shown while a word file is re-sorted.
#pragma once

#include "core/store/sorting.h"

void ShowSortingWindow();
void CloseSortingWindow();
// The progress drawn into the open sorting window: the phase, the count and the clock.
SortProgress& SortingWindowProgress();
// Sorts the current word file under the sorting window; a failure is shown to the user.
// 0 or -1 as the sort, which merges the records after the first `sortedCount` into them.
int RunSort(std::int32_t sortedCount = 0);
