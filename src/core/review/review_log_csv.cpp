#include "core/review/review_log_csv.h"

#include <unordered_map>
#include <vector>

#include "core/review/review_log.h"
#include "core/review/review_memory.h"

namespace review {

ReviewLogCsv ReviewLogToCsv(std::string_view log) {
    ReviewLogCsv csv;
    csv.text = "card_id,review_time,review_rating,review_state,review_duration\n";
    std::unordered_map<std::string, std::size_t> cards;
    std::vector<LogProblem> problems;
    ScanReviewLog(
        log,
        [&](const LogEntry& e) {
            auto [it, first] = cards.emplace(ReviewMemory::Key(e.word), cards.size() + 1);
            csv.text += std::to_string(it->second) + ',' + std::to_string(e.atMs) + ',' + std::to_string(e.rating) +
                        ',' + (first ? "0," : "2,") + std::to_string(e.durationMs) + '\n';
            ++csv.reviews;
        },
        problems);
    csv.words = cards.size();
    csv.damaged = problems.size();
    return csv;
}

}  // namespace review
