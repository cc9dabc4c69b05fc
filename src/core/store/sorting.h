// Re-sorting the current word file: every live record read into memory, sorted with
// the pair's comparator, written to a temporary file that then replaces the word file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/store/word_record.h"

struct Collation;

enum class SortPhase { Reading, Sorting, Writing };

// Told of the progress: every 1000 records read or written, every 2000 comparisons.
class SortProgress {
public:
    virtual void Show(SortPhase phase, std::int64_t count) = 0;

protected:
    ~SortProgress() = default;
};

// 0, or -1 when the word file could not be read, written or replaced; the word file
// is then as it was. Afterwards the store is open on the word file and counted.
// `sortedCount` tells that the file's first records are in order (the rest were appended):
// then only the appended ones need sorting, with the same result. From `besideFrom` records
// on, a second thread shares the work (tests lower it to see both ways agree).
constexpr std::size_t kSortBesideFrom = 65536;
int SortStore(SortProgress* progress, std::int32_t sortedCount = 0, std::size_t besideFrom = kSortBesideFrom);

// Puts records in the order of a pair's comparator, as the sort of its word file does
// (deleted ones are not dropped here). Touches nothing but the records, so two sorts may
// run at once; each keeps to its own thread. Throws when memory runs out.
void SortRecords(std::vector<WordRecord>& records, const Collation& collation);

// Comparisons made by the last sort (each counted once, as the progress counts them), the
// collation keys it made and the time that took: the measures of its cost.
extern std::int64_t SortComparisons;
extern std::int64_t SortKeysMade;
extern double SortKeySeconds;
