#include "core/review/review_pair.h"

#include "core/catalogue/catalogue.h"
#include "core/settings/settings.h"

namespace review {

std::optional<PairReviewFiles> ReviewFilesOf(const WordListDescriptor& pair) {
    std::optional<std::string> words = WordFilePath(pair);
    if (!words) return std::nullopt;
    std::optional<std::string> log = ReviewLogPath(*words), state = ReviewStatePath(*words);
    if (!log || !state) return std::nullopt;
    return PairReviewFiles{*log, *state};
}

ReplayRules RulesFromSettings(std::int64_t dayOffsetMs) {
    ReplayRules rules;
    rules.params.retention = Settings.ReviewRetention / 100.0;
    rules.dayOffsetMs = dayOffsetMs;
    return rules;
}

int LogReview(const PairReviewFiles& files, const ReplayRules& rules, const LogEntry& entry, ReviewMemory& memory) {
    if (AppendReview(files.log, entry, &memory.log) != 0) return -1;
    memory.Apply(entry, rules);
    return 0;
}

}  // namespace review
