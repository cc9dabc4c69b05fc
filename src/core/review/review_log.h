// The review log beside a word file: one line per answer, "time,word,rating,duration", the
// only record of what the learner knows. Lines are appended and flushed one by one, so a
// crash loses at most the answer being written.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace review {

struct LogEntry {
    std::int64_t atMs = 0;  // milliseconds since 1970 UTC
    std::string_view word;  // in the pair's code page, as stored
    int rating = 0;
    std::int64_t durationMs = 0;
};

// A line that was passed over, counted from 1, with the reason for the report.
struct LogProblem {
    std::int64_t line = 0;
    std::string reason;
    std::string text;
};

// A log as far as this process knows it: its length and its last bytes (at most kTailBytes),
// which tell logs apart cheaply since a log is only appended to. Unknown (bytes -1) once the
// log changed in a way this process did not make.
struct LogMark {
    static constexpr std::size_t kTailBytes = 4096;
    std::int64_t bytes = 0;
    std::string tail;

    bool Known() const { return bytes >= 0; }
    // The log once `appended` was written at its end. Had another writer's lines come first,
    // the mark is of no log on disk, and so no state file is saved as made from it.
    void Appended(std::string_view appended);
    void Forget() { *this = {-1, {}}; }
};

// "<stem>.revlog" and "<stem>.revstate" beside the word file; none when too long.
std::optional<std::string> ReviewLogPath(const std::string& wordFilePath);
std::optional<std::string> ReviewStatePath(const std::string& wordFilePath);
// "<stem>.revparams": the weights fitted to the log, when the learner took them.
std::optional<std::string> ReviewParamsPath(const std::string& wordFilePath);

// The line with its CRLF; the word quoted when it holds a comma or a quote.
std::string LogLine(const LogEntry& entry);
// Reads one line without its break; false (with the reason) for a damaged or foreign one.
// The word stays inside `line`, or in `unquoted` when it was quoted.
bool ParseLogLine(std::string_view line, LogEntry& entry, std::string& reason, std::string& unquoted);

// Calls `take` for every sound line in order; every other line lands in `problems`. A
// last line without its break was cut by a crash and is passed over too. `going`, when
// given, is asked every few thousand lines (so a window can be painted meanwhile); false
// stops the scan there.
void ScanReviewLog(std::string_view text, const std::function<void(const LogEntry&)>& take,
                   std::vector<LogProblem>& problems, const std::function<bool()>& going = {});

// Appends one line and flushes it; a log left cut by a crash first gets its break, so the
// new line is not joined to the cut one. 0, or -1. `mark`, the log as the caller knows it,
// follows: longer by the bytes written, or unknown when the write failed or ended a cut line.
int AppendReview(const std::string& path, const LogEntry& entry, LogMark* mark = nullptr);

}  // namespace review
