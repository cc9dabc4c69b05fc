#include "core/review/review_items.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "core/review/review_log.h"
#include "core/review/review_memory.h"
#include "core/review/scheduler.h"

namespace review {
namespace {

// Gaps beyond this many days (some 700,000 years) are taken as this many.
constexpr std::int64_t kMaxGapDays = (1 << 28) - 1;

struct Line {
    std::uint32_t word;
    std::int32_t day;
    std::uint32_t rating;
};

}  // namespace

ReviewItems ItemsFromLog(std::string_view log, std::int64_t dayOffsetMs) {
    ReviewItems items;
    std::vector<Line> lines;
    std::vector<std::uint32_t> perWord;
    {
        std::unordered_map<std::string, std::uint32_t> words;
        std::vector<LogProblem> problems;
        ScanReviewLog(
            log,
            [&](const LogEntry& e) {
                auto [it, added] = words.emplace(ReviewMemory::Key(e.word), static_cast<std::uint32_t>(words.size()));
                if (added) perWord.push_back(0);
                ++perWord[it->second];
                lines.push_back({it->second, static_cast<std::int32_t>(DayNumber(e.atMs, dayOffsetMs)),
                                 static_cast<std::uint32_t>(e.rating)});
            },
            problems);
        items.damaged = problems.size();
    }
    items.lines = lines.size();
    items.wordStart.resize(perWord.size() + 1);
    for (std::size_t w = 0; w < perWord.size(); ++w) items.wordStart[w + 1] = items.wordStart[w] + perWord[w];
    items.reviews.resize(lines.size());
    // perWord becomes each word's next slot, and lastDay its last review's day.
    std::vector<std::int32_t> lastDay(perWord.size());
    for (std::size_t w = 0; w < perWord.size(); ++w) perWord[w] = items.wordStart[w];
    for (const Line& line : lines) {
        const std::uint32_t slot = perWord[line.word]++;
        const bool first = slot == items.wordStart[line.word];
        // A log written by two clocks may step back; that counts as the same day.
        const std::int64_t gap = first ? 0 : std::clamp<std::int64_t>(line.day - lastDay[line.word], 0, kMaxGapDays);
        lastDay[line.word] = line.day;
        items.reviews[slot] = static_cast<std::uint32_t>(gap) << 3 | line.rating;
        if (gap > 0) {
            items.items.push_back(slot);
            items.itemWord.push_back(line.word);
        }
    }
    return items;
}

}  // namespace review
