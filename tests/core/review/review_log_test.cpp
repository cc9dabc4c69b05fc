#include "core/review/review_log.h"
#include "core/review/review_memory.h"
#include "core/review/review_pair.h"

#include "test_support.h"

namespace {

using review::LogEntry;

// Lines written by LogLine read back as they were, quotes and commas included; damaged, cut
// and foreign lines are skipped and reported.
TEST(ReviewLogTest, LinesReadBackAsWrittenAndOthersAreSkippedAndReported) {
    EXPECT_EQ(review::LogLine({5, "a,b", 1, 0}), "5,\"a,b\",1,0\r\n");
    const std::string log = review::LogLine({1767600000000, "huis", 3, 2500}) +
                            "time,word,rating,duration\r\n"  // a header from another tool
                            "101,boom,5,900\r\n"             // rating out of range
                            "102,boom,3\r\n"                 // a field short
                            "103,\"open,3,900\r\n"           // quote never closed
                            "104,\"x\"y,3,900\r\n"           // text after the closing quote
                            "105,,3,900\r\n"                 // no word
                            "106,boom,3,900,7\r\n"           // a field too many
                            "-107,boom,3,900\r\n"            // time before 1970
                            "\r\n"                           // blank lines are no damage
                            "108,\"a,b\",2,900\n" +          // a line ended the other way
                            review::LogLine({109, "say \"hi\"", 4, 0}) +
                            review::LogLine({110, "\"", 1, 0}) + "111,kat,1,";  // cut by a crash
    std::vector<std::string> entries;
    std::vector<review::LogProblem> problems;
    review::ScanReviewLog(
        log,
        [&](const LogEntry& e) {
            entries.push_back(std::to_string(e.atMs) + " " + std::string(e.word) + " " + std::to_string(e.rating) +
                              " " + std::to_string(e.durationMs));
        },
        problems);
    EXPECT_EQ(entries, (std::vector<std::string>{"1767600000000 huis 3 2500", "108 a,b 2 900", "109 say \"hi\" 4 0",
                                                 "110 \" 1 0"}));
    std::vector<std::int64_t> lines;
    for (const auto& p : problems) lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<std::int64_t>{2, 3, 4, 5, 6, 7, 8, 9, 14}));
}

TEST(ReviewLogTest, AppendAfterACutLineStartsANewLine) {
    WorkDir dir;
    WriteFile("w.revlog", "1,huis,3,10\r\n2,bo");
    ASSERT_EQ(review::AppendReview("w.revlog", {3, "kat", 4, 20}), 0);
    ASSERT_EQ(review::AppendReview("w.revlog", {4, "kat", 1, 20}), 0);
    EXPECT_EQ(ReadFile("w.revlog"), "1,huis,3,10\r\n2,bo\r\n3,kat,4,20\r\n4,kat,1,20\r\n");
}

class ReviewMemoryTest : public ::testing::Test {
protected:
    WorkDir dir;
    review::ReplayRules rules;
    const review::PairReviewFiles files{"w.revlog", "w.revstate", "w.revparams"};
    const std::string log = "1767600000000,Huis,3,900\r\n1767859200000,huis,3,900\r\n1767600000000,kat,1,900\r\n";

    review::MemorySource Load(review::ReviewMemory& memory) {
        return review::LoadReviewMemory("w.revlog", "w.revstate", rules, memory);
    }
    // Every word's state and every day's counts, as the state file of the memory holds them.
    std::string StateOf(const review::ReviewMemory& memory) {
        EXPECT_EQ(review::SaveReviewMemory("w.revlog", "seen.revstate", rules, memory), 0);
        return ReadFile("seen.revstate");
    }
};

TEST_F(ReviewMemoryTest, StateFileIsUsedOnlyWhileItMatchesTheLog) {
    WriteFile("w.revlog", log);
    review::ReviewMemory first, again;
    EXPECT_EQ(Load(first), review::MemorySource::Log);
    EXPECT_EQ(first.Find("HUIS")->card.reviews, 2);  // words differing in the case of A-Z are one word
    EXPECT_EQ(Load(again), review::MemorySource::Cache);
    EXPECT_EQ(StateOf(again), StateOf(first));

    const std::string whole = ReadFile("w.revstate");
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"log grew", [&] { WriteFile("w.revlog", log + "1767945600000,kat,3,1\r\n"); }},
        {"log rewritten, same length", [&] { WriteFile("w.revlog", std::string(log).replace(0, 4, "1768")); }},
        {"state cut", [&] { WriteFile("w.revstate", whole.substr(0, whole.size() - 3)); }},
        {"state damaged", [&] { WriteFile("w.revstate", std::string(whole).replace(whole.find('\t'), 1, "x")); }},
        // Such states were stamped with the log at their save, which may hold lines they lack.
        {"state of the first version",
         [&] { WriteFile("w.revstate", std::string(whole).replace(whole.find(' ') + 1, 1, "1")); }},
        {"other retention", [&] { rules.params.retention = 0.8; }},
        {"other day clock", [&] { rules.dayOffsetMs = 3600000; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile("w.revlog", log);
        rules = {};
        review::ReviewMemory fresh;
        Load(fresh);
        c.change();
        review::ReviewMemory loaded;
        EXPECT_EQ(Load(loaded), review::MemorySource::Log);
        EXPECT_EQ(StateOf(loaded), StateOf(review::ReplayLog(ReadFile("w.revlog"), rules)));
    }
}

// While this process holds a memory (the review window open), another writer (a second
// instance, `wordlist review`) may append, or leave a line half written. The state file
// saved from this memory must not claim those lines, or every later load trusts it and the
// other writer's answers are lost for good.
TEST_F(ReviewMemoryTest, AStateFileNeverClaimsLinesItsMemoryLacks) {
    const review::LogEntry ours{1767945600000, "huis", 3, 1}, theirs{1767945700000, "kat", 2, 1};
    // As `wordlist review` does it: load, log, save.
    auto theyReview = [&] {
        review::ReviewMemory other;
        Load(other);
        ASSERT_EQ(review::LogReview(files, rules, theirs, other), 0);
        review::SaveReviewMemory(files.log, files.state, rules, other);
    };
    auto theyWrite = [](const char* bytes) { return [bytes] { WriteFile("w.revlog", ReadFile("w.revlog") + bytes); }; };
    struct Case {
        const char* what;
        std::function<void()> beforeLoad, beforeOurs, afterOurs;
    };
    const std::function<void()> nothing = [] {};
    const Case cases[] = {
        {"their answer between our load and ours", nothing, theyReview, nothing},
        {"their answer after ours", nothing, nothing, theyReview},
        // Our line break completes their cut line into a sound one.
        {"their line cut when we answer", nothing, theyWrite("1767945700000,kat,2,1"), nothing},
        {"their line cut when we load, finished before we answer", theyWrite("1767945700000,kat,2"),
         theyWrite(",1\r\n"), nothing},
        {"a line cut when we load, completed by our break", theyWrite("1767945700000,kat,2,1"), nothing, nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile("w.revlog", log);
        std::filesystem::remove("w.revstate");
        c.beforeLoad();
        review::ReviewMemory mine;
        Load(mine);
        c.beforeOurs();
        ASSERT_EQ(review::LogReview(files, rules, ours, mine), 0);
        c.afterOurs();
        review::SaveReviewMemory(files.log, files.state, rules, mine);

        const review::ReviewMemory truth = review::ReplayLog(ReadFile("w.revlog"), rules);
        review::ReviewMemory later;
        Load(later);
        EXPECT_EQ(StateOf(later), StateOf(truth));
    }
}

}  // namespace
