#include "core/review/review_queue.h"

#include <numeric>

#include "review_support.h"

namespace {

using review::kDayMs;
using review_test::kMonday;
using Words = std::vector<std::string>;

// A memory from (word, day of the review, rating) triples, each day after kMonday.
review::ReviewMemory Memory(std::initializer_list<std::tuple<const char*, int, int>> reviews, std::int64_t offset = 0) {
    std::string log;
    for (auto [word, day, rating] : reviews) log += review::LogLine({kMonday + day * kDayMs, word, rating, 1000});
    return review::ReplayLog(log, {{}, offset});
}

TEST(ReviewQueueTest, DueWordsComeMostOverdueFirstOnTheLocalDay) {
    // Again is due a day later, Good three days, Easy eight; equal times go by their words.
    auto memory = Memory({{"easy", 0, 4}, {"good", 0, 3}, {"again", 1, 1}, {"bGood", 0, 3}, {"late", 5, 3}});
    EXPECT_EQ(review_test::WordsOf(review::DueWords(memory, kMonday + 3 * kDayMs, 0)),
              (Words{"again", "bGood", "good"}));
    EXPECT_EQ(review_test::WordsOf(review::DueWords(memory, kMonday + 8 * kDayMs, 0)),
              (Words{"again", "bGood", "good", "easy", "late"}));
    // Reviewed 08:00 UTC, Good: due three days later; at 22:00 UTC the day before that is
    // already the due day on a clock three hours ahead.
    memory = Memory({{"huis", 0, 3}}, 3 * 3600000);
    const std::int64_t evening = kMonday + 2 * kDayMs + 14 * 3600000;
    EXPECT_EQ(review::DueWords(memory, evening, 3 * 3600000).size(), 1u);
    EXPECT_EQ(review::DueWords(memory, evening, 0).size(), 0u);
}

TEST(ReviewQueueTest, NewWordsFollowTheListUpToTheDaysAllowance) {
    auto memory = Memory({{"old", -3, 3}, {"seen", -1, 3}, {"today1", 0, 3}, {"today2", 0, 2}});
    const std::vector<std::string> list = {"Seen", "a", "b", "A", "c", "d", "today1"};
    const std::pair<int, Words> cases[] = {{5, {"a", "b", "c"}}, {4, {"a", "b"}}, {2, {}}};
    for (const auto& [newPerDay, fresh] : cases) {
        const review::QueuedWords queue = review::ReviewQueue(memory, list, kMonday + 1000, 0, newPerDay);
        EXPECT_EQ(queue.due, Words{"old"}) << newPerDay;
        EXPECT_EQ(queue.fresh, fresh) << newPerDay;
    }
}

TEST(ReviewQueueTest, DueTomorrowCountsTheKnownWordsATomorrowsReviewAsks) {
    // Due on day 1 (Good two days ago, Again today), overdue, and later (Good, Easy today).
    auto memory = Memory({{"good2", -2, 3}, {"again", 0, 1}, {"overdue", -5, 3}, {"good", 0, 3}, {"easy", 0, 4}});
    EXPECT_EQ(review::DueTomorrow(memory, kMonday + 1000, 0), 3);
    EXPECT_EQ(review::DueTomorrow(memory, kMonday + 2 * kDayMs, 0), 4);
    // A word the word file lost is not asked.
    memory.MarkAllOutOfWordFile();
    for (const char* word : {"good2", "again", "good", "easy"}) memory.MarkInWordFile(word);
    EXPECT_EQ(review::DueTomorrow(memory, kMonday + 1000, 0), 2);
    // On a clock three hours ahead, 22:00 UTC on day 1 is already day 2.
    EXPECT_EQ(review::DueTomorrow(memory, kMonday + kDayMs + 14 * 3600000, 3 * 3600000), 3);
}

TEST(ReviewQueueTest, AWordComesBackInDaysThenMonthsThenYears) {
    using Unit = review::ComingBack::Unit;
    constexpr std::int64_t kHour = 3600000;
    const struct {
        std::int64_t askedAfter;  // the review
        std::int32_t intervalDays;
        std::int64_t offset;
        std::optional<review::ComingBack> back;
    } cases[] = {
        {0, 59, 0, review::ComingBack{Unit::Days, 59}},
        {0, 60, 0, review::ComingBack{Unit::Months, 2}},
        {0, 729, 0, review::ComingBack{Unit::Months, 24}},
        {0, 730, 0, review::ComingBack{Unit::Years, 2}},
        // Counted from today, not from the review.
        {2 * kDayMs, 5, 0, review::ComingBack{Unit::Days, 3}},
        // Due today or overdue: the answer that would move it was not logged.
        {3 * kDayMs, 3, 0, std::nullopt},
        // Reviewed at 08:00 UTC and asked at 22:00 UTC, interval 1: on a clock ten hours ahead
        // that is already the day after, and the word is due.
        {14 * kHour, 1, 0, review::ComingBack{Unit::Tomorrow, 1}},
        {14 * kHour, 1, 10 * kHour, std::nullopt},
    };
    for (const auto& c : cases) {
        const review::CardState card{3, 5, kMonday, c.intervalDays, 1};
        EXPECT_EQ(review::ComesBackIn(card, kMonday + c.askedAfter, c.offset), c.back)
            << c.askedAfter << " " << c.intervalDays << " " << c.offset;
    }
    EXPECT_EQ(review::ComesBackIn(review::CardState{}, kMonday, 0), std::nullopt);
}

TEST(ReviewQueueTest, FiguresCountPastAnswersDueDaysAndMaturity) {
    // "b", Easy after a month, holds for weeks: mature, and not due within the chart.
    auto memory = Memory({{"a", -40, 3}, {"a", -29, 1}, {"b", -29, 3}, {"b", 0, 4}, {"c", 0, 2}, {"c", 0, 1}});
    review::ReviewFigures f = review::Figures(memory, kMonday + 3600000, 0, 5);
    EXPECT_EQ(f.pastDays[0].byRating, (std::array<std::int32_t, 4>{1, 0, 1, 0}));
    EXPECT_EQ(f.pastDays[29].byRating, (std::array<std::int32_t, 4>{1, 1, 0, 1}));
    EXPECT_EQ(f.pastDays[29].firstReviews, 1);
    EXPECT_EQ(std::tuple(f.young, f.mature, f.newWords), std::tuple(2, 1, 2));
    // "a" is long overdue and counts today; "c" (Again today) tomorrow.
    EXPECT_EQ(std::tuple(f.dueDays[0], f.dueDays[1], std::accumulate(f.dueDays.begin(), f.dueDays.end(), 0)),
              std::tuple(1, 1, 2));
}

}  // namespace
