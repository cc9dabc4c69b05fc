#include "core/review/review_pair.h"

#include <functional>

#include "core/catalogue/catalogue.h"
#include "core/review/review_queue.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

using review::kDayMs;

constexpr std::int64_t kMonday = 1767600000000;  // 2026-01-05 08:00 UTC

class ReviewPairTest : public InWorkDir {
protected:
    void SetUp() override { UsePair("[languages]\ngerman\n"); }
    void Use(const std::vector<WordRecord>& records) {
        CloseStore();
        WriteRecords(std::string("words/") + WordFileName(*CurrentPair), records);
        ReopenStore();
    }
    // As the program names them, and as this test's file helpers do.
    const review::PairReviewFiles files = {"words/ger_dut.revlog", "words/ger_dut.revstate", "words/ger_dut.revparams"};
    // "boom" and "huis" reviewed, "kat" never.
    std::string log = review::LogLine({kMonday, "boom", 3, 900}) + review::LogLine({kMonday, "huis", 3, 900}) +
                      review::LogLine({kMonday + 3 * kDayMs, "huis", 3, 900});
    const std::int64_t later = kMonday + 100 * kDayMs;  // both reviewed words long due
    review::ReplayRules rules;
};

std::vector<std::string> WordsOf(const std::vector<const review::WordMemory*>& memories) {
    std::vector<std::string> words;
    for (const review::WordMemory* w : memories) words.push_back(w->word);
    return words;
}

}  // namespace

// Only live words of the word file are due, new or counted; a word the file lost or marked
// deleted keeps its log lines and its state, and is asked again with them once it is back.
TEST_F(ReviewPairTest, OnlyLiveWordsOfTheWordFileAreAskedOrCountedAndTheOthersKeepTheirHistory) {
    using Words = std::vector<std::string>;
    struct Case {
        const char* what;
        std::function<std::vector<WordRecord>(const std::string&)> records;  // of "huis" and of "kat" each
        bool held;
        std::int32_t newWords;  // live words without a state
    };
    const Case cases[] = {
        {"present", [](const std::string& w) { return std::vector{Record(w, "x")}; }, true, 1},
        {"in other capitals",
         [](const std::string& w) { return std::vector{Record(w == "huis" ? "HUIS" : "Kat", "x")}; }, true, 1},
        {"marked deleted", [](const std::string& w) { return std::vector{Record(w, "x", 1)}; }, false, 0},
        {"renamed", [](const std::string& w) { return std::vector{Record(w + "je", "x")}; }, false, 2},
        {"gone from the file", [](const std::string&) { return std::vector<WordRecord>{}; }, false, 0},
        {"deleted and added again",
         [](const std::string& w) {
             return std::vector{Record(w, "x", 1), Record(w, "y")};
         },
         true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<WordRecord> records = {Record("boom", "tree")};
        for (const char* word : {"huis", "kat"})
            for (const WordRecord& r : c.records(word)) records.push_back(r);
        Use(records);
        WriteFile(files.log, log);
        std::filesystem::remove(files.state);

        review::ReviewMemory memory;
        std::vector<std::string> list = {"kat", "huis", "boom"};
        const std::int32_t live = review::LoadPairMemory(files, rules, memory, &list);
        const Words due = c.held ? Words{"boom", "huis"} : Words{"boom"};
        EXPECT_EQ(WordsOf(review::DueWords(memory, later, 0)), due);
        EXPECT_EQ(WordsOf(review::ReviewedWords(memory)), due);
        const Words listed = c.held ? Words{"kat", "huis", "boom"} : Words{"boom"};
        EXPECT_EQ(list, listed);
        EXPECT_EQ(review::NewWords(memory, list, later, 0, 20), c.held ? Words{"kat"} : Words{});
        const review::ReviewFigures f = review::Figures(memory, later, 0, live);
        EXPECT_EQ(f.dueDays[0], static_cast<std::int32_t>(due.size()));
        EXPECT_EQ(f.young + f.mature, static_cast<std::int32_t>(due.size()));
        EXPECT_EQ(f.newWords, c.newWords);

        // A review while the word is away, saved; then the word comes back.
        ASSERT_EQ(review::LogReview(files, rules, {later, "boom", 3, 900}, memory), 0);
        ASSERT_EQ(review::SaveReviewMemory(files.log, files.state, rules, memory), 0);
        EXPECT_EQ(ReadFile(files.log), log + review::LogLine({later, "boom", 3, 900}));
        Use({Record("boom", "tree"), Record("huis", "house")});
        review::ReviewMemory back;
        ASSERT_EQ(review::LoadReviewMemory(files.log, files.state, rules, back), review::MemorySource::Cache);
        review::MatchWordFile(back);
        EXPECT_EQ(WordsOf(review::DueWords(back, later, 0)), Words{"huis"});
        EXPECT_EQ(back.Find("huis")->card.reviews, 2);
    }
}
