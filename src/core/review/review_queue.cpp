#include "core/review/review_queue.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "core/text/fixed_text.h"

namespace review {
namespace {

// Days since 1970-01-01 of a civil date, and back (Howard Hinnant's algorithms).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = static_cast<unsigned>(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// A word that counts: reviewed, and live in the word file.
bool Counts(const WordMemory& w) { return !w.card.IsNew() && w.inWordFile; }

}  // namespace

bool DueFirst(const WordMemory* a, const WordMemory* b) {
    if (a->card.DueMs() != b->card.DueMs()) return a->card.DueMs() < b->card.DueMs();
    return std::lexicographical_compare(
        a->word.begin(), a->word.end(), b->word.begin(), b->word.end(), [](char x, char y) {
            return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
        });
}

std::vector<const WordMemory*> DueWords(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs) {
    std::int64_t today = DayNumber(nowMs, dayOffsetMs);
    // Sorted with their due times beside them, so a comparison seldom reaches a word.
    struct Due {
        std::int64_t ms;
        const WordMemory* word;
    };
    std::vector<Due> due;
    for (const WordMemory& w : memory.words())
        if (Counts(w) && DueDay(w.card, dayOffsetMs) <= today) due.push_back({w.card.DueMs(), &w});
    std::sort(due.begin(), due.end(),
              [](const Due& a, const Due& b) { return a.ms != b.ms ? a.ms < b.ms : DueFirst(a.word, b.word); });
    std::vector<const WordMemory*> words(due.size());
    for (std::size_t i = 0; i < due.size(); ++i) words[i] = due[i].word;
    return words;
}

std::vector<const WordMemory*> ReviewedWords(const ReviewMemory& memory) {
    std::vector<const WordMemory*> words;
    for (const WordMemory& w : memory.words())
        if (Counts(w)) words.push_back(&w);
    std::sort(words.begin(), words.end(), DueFirst);
    return words;
}

std::vector<std::string> NewWords(const ReviewMemory& memory, const std::vector<std::string>& listWords,
                                  std::int64_t nowMs, std::int64_t dayOffsetMs, int newPerDay) {
    std::vector<std::string> words;
    auto today = memory.days.find(DayNumber(nowMs, dayOffsetMs));
    int room = newPerDay - (today == memory.days.end() ? 0 : today->second.firstReviews);
    std::unordered_set<std::string> taken;
    for (const std::string& word : listWords) {
        if (room <= 0) break;
        const WordMemory* w = memory.Find(word);
        if ((w && !w->card.IsNew()) || !taken.insert(ReviewMemory::Key(word)).second) continue;
        words.push_back(word);
        --room;
    }
    return words;
}

QueuedWords ReviewQueue(const ReviewMemory& memory, const std::vector<std::string>& listWords, std::int64_t nowMs,
                        std::int64_t dayOffsetMs, int newPerDay) {
    QueuedWords queue;
    for (const WordMemory* w : DueWords(memory, nowMs, dayOffsetMs)) queue.due.push_back(w->word);
    queue.fresh = NewWords(memory, listWords, nowMs, dayOffsetMs, newPerDay);
    return queue;
}

std::int32_t DueWithin(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs, int days) {
    const std::int64_t last = DayNumber(nowMs, dayOffsetMs) + days - 1;
    std::int32_t due = 0;
    for (const WordMemory& w : memory.words())
        if (Counts(w) && DueDay(w.card, dayOffsetMs) <= last) ++due;
    return due;
}

std::int32_t DueTomorrow(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs) {
    return DueWithin(memory, nowMs, dayOffsetMs, 2);
}

std::optional<ComingBack> ComesBackIn(const CardState& card, std::int64_t nowMs, std::int64_t dayOffsetMs) {
    if (card.IsNew()) return std::nullopt;
    const std::int64_t days = DueDay(card, dayOffsetMs) - DayNumber(nowMs, dayOffsetMs);
    if (days <= 0) return std::nullopt;
    // Mean lengths of a month and a year in days; both round to whole units.
    constexpr double kMonthDays = 365.25 / 12, kYearDays = 365.25;
    const auto in = [&](double unit) {
        return static_cast<std::int32_t>(std::lround(static_cast<double>(days) / unit));
    };
    if (days == 1) return ComingBack{ComingBack::Unit::Tomorrow, 1};
    if (days < 60) return ComingBack{ComingBack::Unit::Days, static_cast<std::int32_t>(days)};
    if (days < 730) return ComingBack{ComingBack::Unit::Months, in(kMonthDays)};
    return ComingBack{ComingBack::Unit::Years, in(kYearDays)};
}

ReviewFigures Figures(const ReviewMemory& memory, std::int64_t nowMs, std::int64_t dayOffsetMs,
                      std::int64_t pairWords) {
    ReviewFigures f;
    std::int64_t today = DayNumber(nowMs, dayOffsetMs);
    for (auto it = memory.days.lower_bound(today - kChartDays + 1); it != memory.days.end() && it->first <= today; ++it)
        f.pastDays[static_cast<std::size_t>(it->first - today + kChartDays - 1)] = it->second;
    std::int64_t reviewed = 0;
    for (const WordMemory& w : memory.words()) {
        if (!Counts(w)) continue;
        ++reviewed;
        ++(w.card.stability < kMatureStability ? f.young : f.mature);
        std::int64_t in = std::max<std::int64_t>(0, DueDay(w.card, dayOffsetMs) - today);
        if (in < kChartDays) ++f.dueDays[static_cast<std::size_t>(in)];
    }
    f.newWords = static_cast<std::int32_t>(std::max<std::int64_t>(0, pairWords - reviewed));
    return f;
}

std::int32_t AxisTop(std::int32_t largest) {
    for (std::int64_t step = 1;; step *= 10)
        for (std::int64_t m : {1, 2, 5})
            if (step * m >= largest || step * m >= INT32_MAX / 10) return static_cast<std::int32_t>(step * m);
}

double RightShare(const DayCounts& day) {
    std::int32_t all = day.byRating[0] + day.byRating[1] + day.byRating[2] + day.byRating[3];
    return all == 0 ? -1 : static_cast<double>(all - day.byRating[0]) / all;
}

std::string DayName(std::int64_t day) {
    int y;
    unsigned m, d;
    CivilFromDays(day, y, m, d);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", y, m, d);
    return text;
}

std::string TimeName(std::int64_t ms) {
    std::int64_t day = DayNumber(ms, 0), s = (ms - day * kDayMs) / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "T%02d:%02d:%02dZ", static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60),
                  static_cast<int>(s % 60));
    return DayName(day) + text;
}

bool ParseTime(const std::string& text, std::int64_t& ms) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, n = 0;
    double s = 0;
    int fields = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%n", &y, &mo, &d, &h, &mi, &n);
    if (fields < 5 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || y < 1970) return false;
    std::string rest = text.substr(static_cast<std::size_t>(n));
    int used = 0;
    if (!rest.empty() && rest[0] == ':' && (std::sscanf(rest.c_str(), ":%lf%n", &s, &used) != 1 || s >= 60 || s < 0))
        return false;
    rest.erase(0, static_cast<std::size_t>(used));
    if (rest != "" && rest != "Z") return false;
    ms = (DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 + mi * 60) * 1000 +
         static_cast<std::int64_t>(s * 1000 + 0.5);
    return true;
}

std::string FiguresText(const ReviewFigures& f, std::int64_t today) {
    std::string text = "new\t" + std::to_string(f.newWords) + "\nyoung\t" + std::to_string(f.young) + "\nmature\t" +
                       std::to_string(f.mature) + "\n";
    text += "day\tagain\thard\tgood\teasy\tright\n";
    for (int i = 0; i < kChartDays; ++i) {
        const DayCounts& c = f.pastDays[static_cast<std::size_t>(i)];
        double share = RightShare(c);
        char percent[16] = "-";
        if (share >= 0) std::snprintf(percent, sizeof percent, "%d%%", static_cast<int>(share * 100 + 0.5));
        text += DayName(today - kChartDays + 1 + i) + '\t' + std::to_string(c.byRating[0]) + '\t' +
                std::to_string(c.byRating[1]) + '\t' + std::to_string(c.byRating[2]) + '\t' +
                std::to_string(c.byRating[3]) + '\t' + percent + '\n';
    }
    text += "due on\twords\n";
    for (int i = 0; i < kChartDays; ++i)
        text += DayName(today + i) + '\t' + std::to_string(f.dueDays[static_cast<std::size_t>(i)]) + '\n';
    return text;
}

}  // namespace review
