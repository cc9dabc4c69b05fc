#include "core/review/review_pair.h"

#include <functional>

#include "core/catalogue/catalogue.h"
#include "core/review/review_queue.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "review_support.h"
#include "test_support.h"

namespace {

using review::kDayMs;
using review_test::kMonday;
using review_test::WordsOf;

using ReviewPairTest = InWorkDir;

}  // namespace

// Only live words of the word file are due, new or counted; a word the file lost or marked
// deleted keeps its log lines and its state, and is asked again with them once it is back.
TEST_F(ReviewPairTest, OnlyLiveWordsOfTheWordFileAreAskedOrCountedAndTheOthersKeepTheirHistory) {
    using Words = std::vector<std::string>;
    const std::string german = "[languages]\ngerman\n";
    // As the program names them, and as this test's file helpers do.
    const review::PairReviewFiles files = {"words/ger_dut.revlog", "words/ger_dut.revstate", "words/ger_dut.revparams"};
    // "boom" and "huis" reviewed, "kat" never.
    const std::string log = review::LogLine({kMonday, "boom", 3, 900}) + review::LogLine({kMonday, "huis", 3, 900}) +
                            review::LogLine({kMonday + 3 * kDayMs, "huis", 3, 900});
    const std::int64_t later = kMonday + 100 * kDayMs;  // both reviewed words long due
    const review::ReplayRules rules;
    const struct {
        const char* what;
        std::vector<WordRecord> records;  // of "huis" and "kat", beside "boom"
        bool held;
        std::int32_t newWords;  // live words without a state
    } cases[] = {
        {"present", {Record("huis", "x"), Record("kat", "x")}, true, 1},
        {"in other capitals", {Record("HUIS", "x"), Record("Kat", "x")}, true, 1},
        {"marked deleted", {Record("huis", "x", 1), Record("kat", "x", 1)}, false, 0},
        {"renamed", {Record("huisje", "x"), Record("katje", "x")}, false, 2},
        {"gone from the file", {}, false, 0},
        {"deleted and added again",
         {Record("huis", "x", 1), Record("huis", "y"), Record("kat", "x", 1), Record("kat", "y")},
         true,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<WordRecord> records = {Record("boom", "tree")};
        records.insert(records.end(), c.records.begin(), c.records.end());
        OpenPair(german, records);
        WriteFile(files.log, log);
        std::filesystem::remove(files.state);

        review::ReviewMemory memory;
        std::vector<std::string> list = {"kat", "huis", "boom"};
        const std::int32_t live = review::LoadPairMemory(files, rules, memory, &list);
        const Words due = c.held ? Words{"boom", "huis"} : Words{"boom"};
        EXPECT_EQ(WordsOf(review::DueWords(memory, later, 0)), due);
        EXPECT_EQ(list, (c.held ? Words{"kat", "huis", "boom"} : Words{"boom"}));
        EXPECT_EQ(review::NewWords(memory, list, later, 0, 20), c.held ? Words{"kat"} : Words{});
        const review::ReviewFigures f = review::Figures(memory, later, 0, live);
        EXPECT_EQ(f.young + f.mature, static_cast<std::int32_t>(due.size()));
        EXPECT_EQ(f.newWords, c.newWords);

        // A review while the word is away, saved; then the word comes back.
        ASSERT_EQ(review::LogReview(files, rules, {later, "boom", 3, 900}, memory), 0);
        ASSERT_EQ(review::SaveReviewMemory(files.log, files.state, rules, memory), 0);
        OpenPair(german, {Record("boom", "tree"), Record("huis", "house")});
        review::ReviewMemory back;
        ASSERT_EQ(review::LoadReviewMemory(files.log, files.state, rules, back), review::MemorySource::Cache);
        review::MatchWordFile(back);
        EXPECT_EQ(WordsOf(review::DueWords(back, later, 0)), Words{"huis"});
        EXPECT_EQ(back.Find("huis")->card.reviews, 2);
    }
}
