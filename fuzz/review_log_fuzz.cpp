// The review log (<word file>.revlog): one answer a line, "time,word,rating,duration".
// Input: the log. Every line is either taken or reported; each answer taken reads back from
// the line the program would write for it; the replay gives every reviewed word a memory
// the scheduler could have made.
#include <cmath>

#include "core/review/review_log.h"
#include "core/review/review_memory.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view log(reinterpret_cast<const char*>(data), size);
    const std::string detail = Shown(log);
    std::size_t taken = 0;
    std::vector<review::LogProblem> problems;
    review::ScanReviewLog(
        log,
        [&](const review::LogEntry& entry) {
            ++taken;
            FUZZ_CHECK(entry.rating >= 1 && entry.rating <= 4 && !entry.word.empty(), detail);
            const std::string line = review::LogLine(entry);
            review::LogEntry again;
            std::string reason, unquoted;
            FUZZ_CHECK(review::ParseLogLine(std::string_view(line).substr(0, line.size() - 2), again, reason, unquoted),
                       "written line not read back: " + Shown(line) + "\n" + detail);
            FUZZ_CHECK(again.atMs == entry.atMs && again.word == entry.word && again.rating == entry.rating &&
                           again.durationMs == entry.durationMs,
                       "read back otherwise: " + Shown(line) + "\n" + detail);
        },
        problems);
    std::size_t lines = 0;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t end = log.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = log.size();
        ++lines;
        at = end + (log.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    FUZZ_CHECK(taken + problems.size() <= lines, detail);

    const review::ReviewMemory memory = review::ReplayLog(log, review::ReplayRules{});
    FUZZ_CHECK(memory.words().size() <= taken, detail);
    for (const review::WordMemory& w : memory.words()) {
        FUZZ_CHECK(w.card.reviews >= 1 && w.card.lapses < w.card.reviews && std::isfinite(w.card.stability) &&
                       w.card.stability > 0 && w.card.difficulty >= 1 && w.card.difficulty <= 10,
                   w.word + "\n" + detail);
        FUZZ_CHECK(memory.Find(w.word) == &w, "a word not found by itself: " + w.word + "\n" + detail);
    }
    return 0;
}
