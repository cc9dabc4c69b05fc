#include "core/review/review_pair.h"

#include <algorithm>
#include <unordered_map>

#include "core/catalogue/catalogue.h"
#include "core/review/stored_weights.h"
#include "core/settings/settings.h"
#include "core/store/store.h"

namespace review {

std::optional<PairReviewFiles> ReviewFilesOf(const WordListDescriptor& pair) {
    std::optional<std::string> words = WordFilePath(pair);
    if (!words) return std::nullopt;
    std::optional<std::string> log = ReviewLogPath(*words), state = ReviewStatePath(*words),
                               params = ReviewParamsPath(*words);
    if (!log || !state || !params) return std::nullopt;
    return PairReviewFiles{*log, *state, *params};
}

ReplayRules RulesFromSettings(std::int64_t dayOffsetMs) {
    ReplayRules rules;
    rules.params.retention = Settings.ReviewRetention / 100.0;
    StoredWeights stored;
    std::string reason;
    if (const std::optional<PairReviewFiles> files = CurrentPair ? ReviewFilesOf(*CurrentPair) : std::nullopt)
        if (ReadStoredWeights(files->params, stored, reason) == WeightsFile::Used)
            rules.params.model = MemoryModel(stored.weights);
    rules.dayOffsetMs = dayOffsetMs;
    return rules;
}

namespace {

// Records read in one transfer: a large word file is read in few, without being held whole.
constexpr std::int32_t kRecordsPerRead = 4096;

}  // namespace

std::int32_t MatchWordFile(ReviewMemory& memory, std::vector<std::string>* listWords) {
    memory.MarkAllOutOfWordFile();
    std::unordered_map<std::string, bool> listed;  // by key: whether the word file holds it live
    if (listWords)
        for (const std::string& word : *listWords) listed.emplace(ReviewMemory::Key(word), false);
    std::vector<WordRecord> records(static_cast<std::size_t>(std::max(0, std::min(WordCount, kRecordsPerRead))));
    std::int32_t live = 0;
    for (std::int32_t first = 0, got = 0; first < WordCount; first += got) {
        got = ReadWordRecords(first, std::min(kRecordsPerRead, WordCount - first), records.data());
        if (got <= 0) break;
        for (std::int32_t i = 0; i < got; ++i) {
            const WordRecord& record = records[static_cast<std::size_t>(i)];
            if (IsDeleted(record)) continue;
            ++live;
            memory.MarkInWordFile(record.word);
            if (listed.empty()) continue;
            auto it = listed.find(ReviewMemory::Key(record.word));
            if (it != listed.end()) it->second = true;
        }
    }
    if (listWords)
        listWords->erase(std::remove_if(listWords->begin(), listWords->end(),
                                        [&](const std::string& word) { return !listed[ReviewMemory::Key(word)]; }),
                         listWords->end());
    return live;
}

std::int32_t LoadPairMemory(const std::optional<PairReviewFiles>& files, const ReplayRules& rules, ReviewMemory& memory,
                            std::vector<std::string>* listWords) {
    memory = {};
    if (files) LoadReviewMemory(files->log, files->state, rules, memory);
    return MatchWordFile(memory, listWords);
}

int LogReview(const PairReviewFiles& files, const ReplayRules& rules, const LogEntry& entry, ReviewMemory& memory) {
    if (AppendReview(files.log, entry, &memory.log) != 0) return -1;
    memory.Apply(entry, rules);
    return 0;
}

}  // namespace review
