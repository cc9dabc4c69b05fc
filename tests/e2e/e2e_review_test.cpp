// End-to-end test of spaced review: a run answered every way, its log, and the progress window.

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

// Which key gives which rating is pinned in-process on a fixed clock; here a run typed on
// the real keyboard and clock, its log, and the progress window.
TEST_F(ReviewTest, ARunIsLoggedAndItsProgressDrawn) {
    std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
    words.resize(3);
    fixture.WriteRecords("..\\lists\\First words\\dut_eng.ls", words);
    std::map<std::string, std::string> translations;
    for (const WordRecord& w : words) translations[w.word] = w.translation;
    ASSERT_TRUE(Start());
    SendMessageA(main, WM_COMMAND, 3001, 0);  // Practice mode > Review due words
    const std::int64_t before = NowMs();
    HWND review = Open(main, 11, "herhaal");
    ASSERT_NE(review, nullptr);
    HWND question = GetDlgItem(review, 45), answer = GetDlgItem(review, 30);
    std::vector<std::string> order;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(WaitUntil([&] {
            const std::string asked = WindowText(question);
            return !asked.empty() && (order.empty() || asked != order.back());
        }));
        order.push_back(WindowText(question));
        const std::string right = translations.at(order.back());
        SetWindowTextA(answer, right.substr(0, right.find(',')).c_str());
        if (i == 0) SaveScreenshot("review_window", review);
        if (i == 1) {  // Ctrl+Return as typed on the keyboard: Easy
            ASSERT_TRUE(Foreground(review));
            SetFocus(answer);
            PressKeys({VK_CONTROL, VK_RETURN});
        } else {
            // Posted: the message box the last answer brings would hold a sent one.
            PostMessageA(answer, WM_KEYDOWN, VK_RETURN, 0);
        }
    }
    EXPECT_EQ(Answer(), "No more words are due today.   ");
    const std::int64_t after = NowMs();

    std::vector<std::string> logged;
    std::vector<review::LogProblem> problems;
    review::ScanReviewLog(
        fixture.Read("wordlists\\dut_eng.revlog"),
        [&](const review::LogEntry& e) {
            logged.push_back(std::string(e.word) + " " + std::to_string(e.rating));
            EXPECT_TRUE(e.atMs >= before && e.atMs <= after) << e.atMs;
        },
        problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(logged, (std::vector<std::string>{order[0] + " 3", order[1] + " 4", order[2] + " 3"}));
    Close(review);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }));

    HWND chart = Open(main, 3002, "herhaalgrafiek");
    ASSERT_NE(chart, nullptr);
    SaveScreenshot("review_progress", chart);
    Close(chart);
}
