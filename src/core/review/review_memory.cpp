#include "core/review/review_memory.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "core/text/fixed_text.h"
#include "platform/lines.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace review {
namespace {

LogMark MarkOf(const std::string& logPath) {
    FILE* file = platform::OpenFile(logPath, "rb");
    if (!file) return {};
    LogMark mark;
    mark.bytes = platform::FileSize(file);
    const std::int64_t keep = static_cast<std::int64_t>(LogMark::kTailBytes);
    const std::int64_t from = mark.bytes > keep ? mark.bytes - keep : 0;
    if (mark.bytes >= 0) mark.tail.resize(static_cast<std::size_t>(mark.bytes - from));
    if (mark.bytes < 0 || platform::SeekTo(file, from) != 0 ||
        std::fread(mark.tail.data(), 1, mark.tail.size(), file) != mark.tail.size()) {
        mark.Forget();
    }
    std::fclose(file);
    return mark;
}

std::uint64_t TailHash(std::string_view tail) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : tail) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

std::uint64_t Bits(double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}
double FromBits(std::uint64_t u) {
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

// The weights the replay used, so that a state file made under others is not taken.
std::uint64_t WeightsHash(const Weights& w) {
    std::uint64_t hash = 14695981039346656037ull;
    for (double x : w) hash = (hash ^ Bits(x)) * 1099511628211ull;
    return hash;
}

// The state file's first line up to its count of words. Version 1 files were stamped with the
// log as it was when they were saved, so one may claim lines of another writer that it lacks:
// they are not read, and each is made again from its log once. Version 2 files knew only the
// default weights; they are made again once too.
std::string Header(const LogMark& mark, const ReplayRules& rules) {
    return "revstate 3 " + std::to_string(mark.bytes) + ' ' + std::to_string(TailHash(mark.tail)) + ' ' +
           std::to_string(Bits(rules.params.retention)) + ' ' + std::to_string(rules.params.maxIntervalDays) + ' ' +
           std::to_string(rules.dayOffsetMs) + ' ' + std::to_string(WeightsHash(rules.params.model.weights())) + ' ';
}

// Appends a number and the character after it; no string of its own per number.
template <class T>
void Put(std::string& text, T value, char end) {
    char digits[24];
    auto [p, error] = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, p);
    text += end;
}

template <class T>
bool Take(std::string_view& text, T& value, char end) {
    auto [p, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || p == text.data() + text.size() || *p != end) return false;
    text.remove_prefix(static_cast<std::size_t>(p - text.data()) + 1);
    return true;
}

bool ReadState(std::string_view text, const std::string& expectedHeader, ReviewMemory& memory) {
    if (text.substr(0, expectedHeader.size()) != expectedHeader) return false;
    text.remove_prefix(expectedHeader.size());
    std::size_t count = 0;
    if (!Take(text, count, '\n')) return false;
    ReviewMemory read;
    // A damaged count must not make a huge table.
    read.Reserve(std::min(count, text.size() / 12));
    for (std::size_t i = 0; i < count; ++i) {
        WordMemory w;
        std::uint64_t s, d;
        if (!Take(text, s, '\t') || !Take(text, d, '\t') || !Take(text, w.card.lastReviewMs, '\t') ||
            !Take(text, w.card.intervalDays, '\t') || !Take(text, w.card.reviews, '\t') ||
            !Take(text, w.card.lapses, '\t')) {
            return false;
        }
        std::size_t end = text.find('\n');
        if (end == std::string_view::npos || end == 0) return false;
        w.word = std::string(text.substr(0, end));
        text.remove_prefix(end + 1);
        w.card.stability = FromBits(s);
        w.card.difficulty = FromBits(d);
        if (!(w.card.stability > 0) || w.card.reviews < 1) return false;
        read.Adopt(std::move(w));
    }
    if (!Take(text, count, '\n')) return false;
    for (std::size_t i = 0; i < count; ++i) {
        std::int64_t day;
        DayCounts c;
        if (!Take(text, day, '\t') || !Take(text, c.byRating[0], '\t') || !Take(text, c.byRating[1], '\t') ||
            !Take(text, c.byRating[2], '\t') || !Take(text, c.byRating[3], '\t') || !Take(text, c.firstReviews, '\n')) {
            return false;
        }
        read.days[day] = c;
    }
    if (text != "end\n") return false;
    memory = std::move(read);
    return true;
}

}  // namespace

std::string ReviewMemory::Key(std::string_view word) {
    std::string key(word);
    for (char& c : key) c = FoldAscii(c);
    return key;
}

namespace {

std::uint32_t HashOf(std::string_view word) {
    std::uint32_t h = 2166136261u;  // FNV-1a of the folded word
    for (char c : word) h = (h ^ static_cast<unsigned char>(FoldAscii(c))) * 16777619u;
    return h;
}

}  // namespace

WordMemory* ReviewMemory::Find(std::string_view word, std::uint32_t hash) {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i] != 0; i = (i + 1) & mask) {
        if (static_cast<std::uint32_t>(slots_[i] >> 32) != hash) continue;
        WordMemory& w = words_[static_cast<std::uint32_t>(slots_[i]) - 1];
        if (EqualsIgnoringAsciiCase(w.word, word)) return &w;
    }
    return nullptr;
}

void ReviewMemory::Reserve(std::size_t words) {
    std::size_t size = 1024;
    while (size < words * 2) size *= 2;
    if (size <= slots_.size()) return;
    std::vector<std::uint64_t> old(size, 0);
    old.swap(slots_);
    const std::size_t mask = size - 1;
    for (std::uint64_t slot : old) {
        if (slot == 0) continue;
        std::size_t i = (slot >> 32) & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

WordMemory& ReviewMemory::Add(std::string_view word, std::uint32_t hash) {
    Reserve(words_.size() + 1);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    words_.emplace_back().word = word;
    slots_[i] = static_cast<std::uint64_t>(hash) << 32 | words_.size();
    return words_.back();
}

void ReviewMemory::Apply(const LogEntry& entry, const ReplayRules& rules) {
    const std::uint32_t hash = HashOf(entry.word);
    WordMemory* found = Find(entry.word, hash);
    CardState card = found ? found->card : CardState{};
    const bool first = card.IsNew();
    if (!ApplyReview(card, entry.atMs, entry.rating, rules.params, rules.dayOffsetMs)) return;
    WordMemory& w = found ? *found : Add(entry.word, hash);
    if (w.word != entry.word) w.word = entry.word;
    w.card = card;
    DayCounts& day = days[DayNumber(entry.atMs, rules.dayOffsetMs)];
    ++day.byRating[entry.rating - 1];
    if (first) ++day.firstReviews;
}

void ReviewMemory::Adopt(WordMemory&& word) {
    const std::uint32_t hash = HashOf(word.word);
    WordMemory* found = Find(word.word, hash);
    WordMemory& w = found ? *found : Add({}, hash);
    w = std::move(word);
}

const WordMemory* ReviewMemory::Find(std::string_view word) const {
    return const_cast<ReviewMemory*>(this)->Find(word, HashOf(word));
}

void ReviewMemory::MarkAllOutOfWordFile() {
    for (WordMemory& w : words_) w.inWordFile = false;
}

void ReviewMemory::MarkInWordFile(std::string_view word) {
    if (WordMemory* w = Find(word, HashOf(word))) w->inWordFile = true;
}

ReviewMemory ReplayLog(std::string_view log, const ReplayRules& rules, const std::function<bool()>& going) {
    ReviewMemory memory;
    ScanReviewLog(
        log, [&](const LogEntry& entry) { memory.Apply(entry, rules); }, memory.problems, going);
    memory.log.bytes = static_cast<std::int64_t>(log.size());
    memory.log.tail = log.substr(log.size() - std::min(log.size(), LogMark::kTailBytes));
    return memory;
}

MemorySource LoadReviewMemory(const std::string& logPath, const std::string& statePath, const ReplayRules& rules,
                              ReviewMemory& memory) {
    LogMark mark = MarkOf(logPath);
    std::string state;
    if (mark.Known() && platform::ReadFileBytes(statePath, state) && ReadState(state, Header(mark, rules), memory)) {
        memory.log = std::move(mark);
        return MemorySource::Cache;
    }
    // The memory holds the log as it is read here, whatever is appended before the save.
    std::string log;
    if (!platform::ReadFileBytes(logPath, log)) log.clear();
    memory = ReplayLog(log, rules);
    SaveReviewMemory(logPath, statePath, rules, memory);
    return MemorySource::Log;
}

int SaveReviewMemory(const std::string& logPath, const std::string& statePath, const ReplayRules& rules,
                     const ReviewMemory& memory) {
    if (!memory.log.Known()) return -1;
    const LogMark now = MarkOf(logPath);
    if (now.bytes != memory.log.bytes || now.tail != memory.log.tail) return -1;
    std::string text = Header(memory.log, rules);
    text.reserve(text.size() + memory.words().size() * 96 + memory.days.size() * 48 + 32);
    Put(text, memory.words().size(), '\n');
    for (const WordMemory& w : memory.words()) {
        Put(text, Bits(w.card.stability), '\t');
        Put(text, Bits(w.card.difficulty), '\t');
        Put(text, w.card.lastReviewMs, '\t');
        Put(text, w.card.intervalDays, '\t');
        Put(text, w.card.reviews, '\t');
        Put(text, w.card.lapses, '\t');
        text += w.word;
        text += '\n';
    }
    Put(text, memory.days.size(), '\n');
    for (const auto& [day, c] : memory.days) {
        Put(text, day, '\t');
        for (std::int32_t n : c.byRating) Put(text, n, '\t');
        Put(text, c.firstReviews, '\n');
    }
    text += "end\n";
    return platform::ReplaceFileWith(statePath, text) == 0 ? 0 : -1;
}

}  // namespace review
