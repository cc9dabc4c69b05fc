// Spaced review of the current pair: its log and state file, and the rules the settings give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/review/review_memory.h"

struct WordListDescriptor;

namespace review {

struct PairReviewFiles {
    std::string log, state, params;
};
// Beside the pair's word file; none when a path would be too long.
std::optional<PairReviewFiles> ReviewFilesOf(const WordListDescriptor& pair);

// The scheduler's rules from the settings and the current pair's fitted weights (the defaults
// when it has none, or a file that is refused), on a day clock `dayOffsetMs` ahead of UTC.
ReplayRules RulesFromSettings(std::int64_t dayOffsetMs);

// Matches `memory` against the store's open word file, in one pass over it: a word that the
// word file no longer holds live (removed, renamed, marked deleted) is neither due nor counted,
// and leaves `listWords` too when given. Its lines stay in the log and its state in the memory,
// so a word that comes back comes back with its history. Returns the word file's live records.
std::int32_t MatchWordFile(ReviewMemory& memory, std::vector<std::string>* listWords = nullptr);

// The memory that the windows and the command line ask from and count: loaded from the pair's
// files (empty without them), then matched against its word file. The live records, as above.
std::int32_t LoadPairMemory(const std::optional<PairReviewFiles>& files, const ReplayRules& rules, ReviewMemory& memory,
                            std::vector<std::string>* listWords = nullptr);

// Logs one answer and applies it to `memory`; 0, or -1 when the log could not be written
// (`memory` then lacks it, and is saved no more). The state file falls behind until
// SaveReviewMemory.
int LogReview(const PairReviewFiles& files, const ReplayRules& rules, const LogEntry& entry, ReviewMemory& memory);

}  // namespace review
