// End-to-end test of spaced review: a run answered every way, its log, and the progress window.

#include <gtest/gtest.h>

#include <map>

#include "core/review/review_memory.h"
#include "driver.h"

namespace {

std::int64_t NowMs() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000) -
           11644473600000;
}

class ReviewTest : public EndToEnd {};

}  // namespace

TEST_F(ReviewTest, ARunIsLoggedAndScheduledAndItsProgressDrawn) {
    std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
    words.resize(4);
    fixture.WriteRecords("..\\lists\\First words\\dut_eng.ls", words);
    std::map<std::string, std::string> translations;
    for (const WordRecord& w : words) translations[w.word] = w.translation;
    ASSERT_TRUE(Start());
    SendMessageA(main, WM_COMMAND, 3001, 0);  // Practice mode > Review due words
    const std::int64_t before = NowMs();
    HWND review = Open(main, 11, "herhaal");
    ASSERT_NE(review, nullptr);
    HWND question = GetDlgItem(review, 45), answer = GetDlgItem(review, 30);
    auto asked = [&] { return WindowText(question); };
    // The last answer is posted: the message box it brings would hold a sent one.
    auto type = [&](const std::string& text, bool last = false) {
        SetWindowTextA(answer, text.c_str());
        if (last)
            PostMessageA(answer, WM_KEYDOWN, VK_RETURN, 0);
        else
            SendMessageA(answer, WM_KEYDOWN, VK_RETURN, 0);
    };
    auto right = [&](const std::string& word) {
        const std::string t = translations.at(word);
        return t.substr(0, t.find(','));
    };
    ASSERT_TRUE(WaitUntil([&] { return !asked().empty(); }));
    std::vector<std::string> order;
    order.push_back(asked());
    type(right(order[0]));  // Good
    ASSERT_TRUE(WaitUntil([&] { return asked() != order[0]; }));
    order.push_back(asked());
    type("certainly not this");
    type(right(order[1]));  // Hard
    ASSERT_TRUE(WaitUntil([&] { return asked() != order[1]; }));
    order.push_back(asked());
    SendMessageA(answer, WM_KEYDOWN, VK_ESCAPE, 0);  // shown: Again
    EXPECT_TRUE(ShowsText(answer, translations.at(order[2])));
    SaveScreenshot("review_window", review);
    type(WindowText(answer));
    ASSERT_TRUE(WaitUntil([&] { return asked() != order[2]; }));
    order.push_back(asked());
    // Ctrl+Return as typed on the keyboard: Easy.
    SetWindowTextA(answer, right(order[3]).c_str());
    ASSERT_TRUE(Foreground(review));
    SetFocus(answer);
    PressKeys({VK_CONTROL, VK_RETURN});
    ASSERT_TRUE(WaitUntil([&] { return asked() == order[2]; }));  // Again comes back at the end
    type(right(order[2]), true);
    HWND box = program->WaitForWindow("#32770", texts.at("Dictionary").c_str());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "No more words are due today.   ");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const std::int64_t after = NowMs();

    // One line per word, in the order asked, each first answer's rating; a day's gap each
    // as the scheduler gives a new word for that rating.
    std::vector<review::LogEntry> lines;
    std::vector<review::LogProblem> problems;
    const std::string log = fixture.Read("wordlists\\dut_eng.revlog");
    std::vector<std::string> loggedWords;
    std::vector<int> ratings;
    review::ScanReviewLog(
        log,
        [&](const review::LogEntry& e) {
            loggedWords.emplace_back(e.word);
            ratings.push_back(e.rating);
            EXPECT_GE(e.atMs, before);
            EXPECT_LE(e.atMs, after);
        },
        problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(loggedWords, order);
    EXPECT_EQ(ratings, (std::vector<int>{3, 2, 1, 4}));
    const review::ReviewMemory memory = review::ReplayLog(log, {});
    const int days[] = {3, 2, 1, 8};
    for (int i = 0; i < 4; ++i) {
        const review::CardState& card = memory.Find(order[static_cast<std::size_t>(i)])->card;
        EXPECT_EQ(card.DueMs() - card.lastReviewMs, days[i] * review::kDayMs) << order[static_cast<std::size_t>(i)];
    }
    Close(review);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }));

    HWND chart = Open(main, 3002, "herhaalgrafiek");
    ASSERT_NE(chart, nullptr);
    SaveScreenshot("review_progress", chart);
    Close(chart);
}
