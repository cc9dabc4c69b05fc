// What the learner knows of each word: the log replayed in order, cached in a state file
// so that opening a pair does not replay a long log each time.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/review/review_log.h"
#include "core/review/scheduler.h"

namespace review {

struct WordMemory {
    std::string word;  // as last logged
    CardState card;
    // False while the word file lacks the word or holds it deleted: it is then neither asked
    // nor counted, and keeps its state for the day it comes back.
    bool inWordFile = true;
};

// The log's day clock and parameters; a cache made under others is not used.
struct ReplayRules {
    SchedulerParams params;
    std::int64_t dayOffsetMs = 0;
};

// One day's answers by rating (1-4 at 0-3), and how many words were first asked that day.
struct DayCounts {
    std::array<std::int32_t, 4> byRating{};
    std::int32_t firstReviews = 0;
};

class ReviewMemory {
public:
    // Words are told apart as the store tells them: the letters A-Z without case.
    static std::string Key(std::string_view word);

    void Apply(const LogEntry& entry, const ReplayRules& rules);
    // Takes a word's state as a state file holds it.
    void Adopt(WordMemory&& word);
    const WordMemory* Find(std::string_view word) const;
    // Matching against a word file: every word out of it, then each back in as a live record
    // of it is read.
    void MarkAllOutOfWordFile();
    void MarkInWordFile(std::string_view word);
    // In the order of their first review; a word stays where it is as others are added.
    const std::deque<WordMemory>& words() const { return words_; }
    void Reserve(std::size_t words);
    // By day number on the replay's clock.
    std::map<std::int64_t, DayCounts> days;

    // The log this memory holds: as it was read, and every line this process appended to it.
    LogMark log;
    std::vector<LogProblem> problems;

private:
    WordMemory* Find(std::string_view word, std::uint32_t hash);
    WordMemory& Add(std::string_view word, std::uint32_t hash);

    std::deque<WordMemory> words_;
    // Open addressing over a power-of-two table: the word's hash in the high half, its index
    // in `words_` plus one in the low half, 0 for an empty slot. A replay looks a word up per
    // line, and a table of nodes made that its slowest step.
    std::vector<std::uint64_t> slots_;
};

// The memory the log leaves under the rules; `going` as the scan takes it (a replay it
// stopped is not whole).
ReviewMemory ReplayLog(std::string_view log, const ReplayRules& rules, const std::function<bool()>& going = {});

enum class MemorySource { Cache, Log };
// The state file when it is whole and made from this very log under these rules; else the
// log replayed and the state file written again. A missing log is an empty one.
MemorySource LoadReviewMemory(const std::string& logPath, const std::string& statePath, const ReplayRules& rules,
                              ReviewMemory& memory);
// The state file for `memory`, stamped with the log it holds; 0, or -1 (the old file stays) when
// it cannot be written or the log is no longer that one: the state file must not claim lines
// of another writer that the memory lacks. The next load then replays the log.
int SaveReviewMemory(const std::string& logPath, const std::string& statePath, const ReplayRules& rules,
                     const ReviewMemory& memory);

}  // namespace review
