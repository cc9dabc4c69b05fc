// Spaced review of the current pair: its log and state file, and the rules the settings give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/review/review_memory.h"

struct WordListDescriptor;

namespace review {

struct PairReviewFiles {
    std::string log, state;
};
// Beside the pair's word file; none when a path would be too long.
std::optional<PairReviewFiles> ReviewFilesOf(const WordListDescriptor& pair);

// The scheduler's rules from the settings, on a day clock `dayOffsetMs` ahead of UTC.
ReplayRules RulesFromSettings(std::int64_t dayOffsetMs);

// Logs one answer and applies it to `memory`; 0, or -1 when the log could not be written
// (`memory` then lacks it, and is saved no more). The state file falls behind until
// SaveReviewMemory.
int LogReview(const PairReviewFiles& files, const ReplayRules& rules, const LogEntry& entry, ReviewMemory& memory);

}  // namespace review
