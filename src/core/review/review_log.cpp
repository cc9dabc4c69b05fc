#include "core/review/review_log.h"

#include <charconv>

#include "core/store/word_record.h"
#include "platform/file_writes.h"
#include "platform/lines.h"
#include "platform/platform.h"

namespace review {
namespace {

std::optional<std::string> BesideWordFile(const std::string& wordFilePath, std::string_view extension) {
    std::size_t slash = wordFilePath.find_last_of("\\/");
    std::size_t dot = wordFilePath.rfind('.');
    std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                           ? wordFilePath.substr(0, dot)
                           : wordFilePath;
    return platform::MakePath({stem, extension});
}

bool ReadNumber(std::string_view text, std::int64_t& value) {
    if (text.empty() || text.size() > 18) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

// The next field from `pos`, unquoted into `quoted` when it is quoted (then `field` views
// `quoted`); false for an open quote or text after a closing one.
bool NextField(std::string_view line, std::size_t& pos, std::string_view& field, std::string& quoted) {
    if (pos < line.size() && line[pos] == '"') {
        quoted.clear();
        for (std::size_t i = pos + 1; i < line.size(); ++i) {
            if (line[i] != '"') {
                quoted += line[i];
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                quoted += '"';
                ++i;
            } else {
                if (i + 1 < line.size() && line[i + 1] != ',') return false;
                pos = i + 2;
                field = quoted;
                return true;
            }
        }
        return false;
    }
    std::size_t comma = line.find(',', pos);
    if (comma == std::string_view::npos) comma = line.size();
    field = line.substr(pos, comma - pos);
    if (field.find('"') != std::string_view::npos) return false;
    pos = comma + 1;
    return true;
}

}  // namespace

void LogMark::Appended(std::string_view appended) {
    if (!Known()) return;
    bytes += static_cast<std::int64_t>(appended.size());
    tail += appended;
    if (tail.size() > kTailBytes) tail.erase(0, tail.size() - kTailBytes);
}

std::optional<std::string> ReviewLogPath(const std::string& wordFilePath) {
    return BesideWordFile(wordFilePath, ".revlog");
}
std::optional<std::string> ReviewStatePath(const std::string& wordFilePath) {
    return BesideWordFile(wordFilePath, ".revstate");
}
std::optional<std::string> ReviewParamsPath(const std::string& wordFilePath) {
    return BesideWordFile(wordFilePath, ".revparams");
}

std::string LogLine(const LogEntry& entry) {
    std::string line = std::to_string(entry.atMs) + ',';
    if (entry.word.find_first_of(",\"") == std::string_view::npos) {
        line += entry.word;
    } else {
        line += '"';
        for (char c : entry.word) line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    line += ',' + std::to_string(entry.rating) + ',' + std::to_string(entry.durationMs) + "\r\n";
    return line;
}

bool ParseLogLine(std::string_view line, LogEntry& entry, std::string& reason, std::string& unquoted) {
    std::string scratch;
    std::string_view fields[4];
    std::size_t pos = 0;
    int count = 0;
    while (pos <= line.size() && count < 5) {
        std::string_view field;
        bool quotedNumber = count != 1 && pos < line.size() && line[pos] == '"';
        if (quotedNumber || !NextField(line, pos, field, count == 1 ? unquoted : scratch)) {
            reason = "bad quoting";
            return false;
        }
        if (count < 4) fields[count] = field;
        ++count;
    }
    if (count != 4) {
        reason = "not four fields";
        return false;
    }
    std::int64_t rating = 0;
    if (!ReadNumber(fields[0], entry.atMs) || !ReadNumber(fields[2], rating) ||
        !ReadNumber(fields[3], entry.durationMs)) {
        reason = "not a number";
        return false;
    }
    if (rating < 1 || rating > 4) {
        reason = "rating not 1-4";
        return false;
    }
    if (fields[1].empty() || fields[1].size() >= sizeof(WordRecord{}.word)) {
        reason = "no word of 1-30 characters";
        return false;
    }
    entry.rating = static_cast<int>(rating);
    entry.word = fields[1];
    return true;
}

void ScanReviewLog(std::string_view text, const std::function<void(const LogEntry&)>& take,
                   std::vector<LogProblem>& problems, const std::function<bool()>& going) {
    constexpr std::int64_t kLinesBetweenAsks = 4096;
    std::size_t start = 0;
    std::int64_t number = 0;
    std::string reason, unquoted;
    while (start < text.size()) {
        if (going && number % kLinesBetweenAsks == kLinesBetweenAsks - 1 && !going()) return;
        TextLine line = LineAt(text, start);
        start += line.size();
        ++number;
        LogEntry entry;
        if (line.end.empty()) {
            problems.push_back({number, "cut off", std::string(line.text)});
        } else if (ParseLogLine(line.text, entry, reason, unquoted)) {
            take(entry);
        } else if (!line.text.empty()) {
            problems.push_back({number, reason, std::string(line.text)});
        }
    }
}

int AppendReview(const std::string& path, const LogEntry& entry, LogMark* mark) {
    FILE* file = platform::OpenFile(path, "a+b");
    if (!file) {
        if (mark) mark->Forget();
        return -1;
    }
    std::string bytes = LogLine(entry);
    std::int64_t size = platform::FileSize(file);
    bool endsCutLine = false;
    if (size > 0 && platform::SeekTo(file, size - 1) == 0) {
        int last = std::fgetc(file);
        endsCutLine = last != '\n' && last != '\r';
        if (endsCutLine) bytes.insert(0, "\r\n");
    }
    // Between reading and writing a stream must be positioned.
    if (size >= 0) platform::SeekTo(file, size);
    bool ok = size >= 0 && platform::WriteBytes(file, bytes.data(), bytes.size()) && platform::FlushFile(file);
    ok = platform::CloseFile(file) && ok;
    // A cut line that the break ends may read as a sound one now, which no memory has taken.
    if (mark && ok && !endsCutLine) mark->Appended(bytes);
    if (mark && (!ok || endsCutLine)) mark->Forget();
    return ok ? 0 : -1;
}

}  // namespace review
