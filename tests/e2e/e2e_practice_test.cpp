// End-to-end tests of flash and interactive practice, and of spaced review.

#include <map>

#include "core/review/review_log.h"
#include "core/review/review_memory.h"
#include "driver.h"

namespace {

const char kList[] = "..\\lists\\First words\\dut_eng.ls";
const char kScore[] = "lists\\First words\\dut_eng.score";

// The program on a practice list of the first `count` words of the demo pair, in the
// practice mode that `modeCommand` chooses (when given).
class PracticeTest : public EndToEnd {
protected:
    void Start(std::size_t count, int modeCommand = 0) {
        std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
        words.resize(count);
        fixture.WriteRecords(kList, words);
        for (const WordRecord& w : words) translations[w.word] = w.translation;
        ASSERT_TRUE(EndToEnd::Start());
        if (modeCommand) SendMessageA(main, WM_COMMAND, static_cast<WPARAM>(modeCommand), 0);
    }
    std::map<std::string, std::string> translations;
};

std::int64_t NowMs() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000) -
           11644473600000;
}

// A learner's month with the demo pair's first `words.size()` words, up to yesterday: each
// first answered Good, three days later recalled by two in three, then Good a week on.
std::string DemoLog(const std::vector<WordRecord>& words, std::int64_t now) {
    std::string log;
    const std::int64_t start = now - 30 * review::kDayMs;
    for (int day : {0, 3, 10})
        for (std::size_t w = 0; w < words.size(); ++w)
            log += review::LogLine({start + day * review::kDayMs + static_cast<std::int64_t>(w) * 1000, words[w].word,
                                    day == 3 && w % 3 == 0 ? 1 : 3, 2000});
    return log;
}

}  // namespace

// Each key press cuts the pause short, so the run needs no waiting on the clock. (That each
// word comes once is the core's.)
TEST_F(PracticeTest, FlashShowsEveryWordOnceThenItsTranslation) {
    Start(6);
    HWND flash = Open(main, 11, "leren");
    HWND word = GetDlgItem(flash, 45), translation = GetDlgItem(flash, 46);
    std::string last;
    for (std::size_t i = 0; i < translations.size(); ++i) {
        ASSERT_TRUE(WaitUntil([&] { return WindowText(translation).empty() && WindowText(word) != last; })) << i;
        last = WindowText(word);
        if (i == 0) SaveScreenshot("flash_window", flash);
        PostMessageA(flash, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_TRUE(ShowsText(translation, translations[last]));
        EXPECT_TRUE(WaitUntil([&] { return SendMessageA(GetDlgItem(flash, 40), PBM_GETPOS, 0, 0) == LRESULT(i + 1); }));
        PostMessageA(flash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 60));  // a click on the word box
    }
    EXPECT_EQ(Answer(), texts.at("PracticeEndlist"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(flash) && IsWindowVisible(main); }));
}

// The best score stored shows at the start; the run's better one replaces it.
TEST_F(PracticeTest, InteractiveRunCountsAndStoresItsScore) {
    fixture.Write(kScore, "5\r\n5\r\n");
    Start(3, 65);
    HWND practice = Open(main, 11, "leren2");
    HWND answer = GetDlgItem(practice, 30);
    EXPECT_EQ(StaticTexts(practice, 45)[4],
              texts.at("PracticeSkipped") + " 5  -  " + texts.at("PracticeErrors") + " 5");
    // The last answer is posted: the message box it brings would hold a sent one.
    const auto type = [&](const std::string& text, bool last = false) {
        SetWindowTextA(answer, text.c_str());
        if (last)
            PostMessageA(answer, WM_KEYDOWN, VK_RETURN, 0);
        else
            SendMessageA(answer, WM_KEYDOWN, VK_RETURN, 0);
    };
    std::string right = translations.at(StaticTexts(practice, 45)[0]);
    type("no such word");
    SaveScreenshot("interactive_window", practice);
    type(right);
    right = translations.at(StaticTexts(practice, 45)[0]);
    SendMessageA(answer, WM_KEYDOWN, VK_ESCAPE, 0);  // the answer is shown, and skipped
    EXPECT_TRUE(ShowsText(answer, right));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(practice, 27)));
    type(WindowText(answer));
    type(translations.at(StaticTexts(practice, 45)[0]), true);
    EXPECT_EQ(Answer(), texts.at("PracticeEndlist"));
    EXPECT_FALSE(IsWindowEnabled(answer));
    EXPECT_EQ(fixture.Read(kScore), "1\r\n1\r\n");
    Close(practice);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }));
}

// Which key gives which rating, and what the window says of each answer and at the end, are
// pinned in-process on a fixed clock; here a run typed on the real keyboard and clock, its
// log, the progress window and a fit of the schedule.
TEST_F(PracticeTest, AReviewRunIsLoggedAndItsProgressDrawn) {
    Start(3, 3001);  // Practice mode > Review due words
    const std::int64_t before = NowMs();
    HWND review = Open(main, 11, "herhaal");
    HWND question = GetDlgItem(review, 45), answer = GetDlgItem(review, 30), verdict = GetDlgItem(review, 3013);
    // The next word asked, once it shows, and the first piece of its translation.
    std::vector<std::string> order;
    const auto next = [&] {
        std::string asked;
        EXPECT_TRUE(WaitUntil([&] {
            asked = WindowText(question);
            return !asked.empty() && (order.empty() || asked != order.back());
        }));
        order.push_back(asked);
        const std::string right = translations.at(asked);
        return right.substr(0, right.find(','));
    };
    // Posted keys: the message box the last answer brings would hold a sent one.
    const auto key = [&](WPARAM k) { PostMessageA(answer, WM_KEYDOWN, k, 0); };
    std::string right = next();  // a wrong try first: Hard, and said on screen
    SetWindowTextA(answer, "xyzzy");
    key(VK_RETURN);
    ASSERT_TRUE(ShowsText(verdict, texts.at("ReviewWrong")));
    SaveScreenshot("review_wrong", review);
    SetWindowTextA(answer, right.c_str());
    SaveScreenshot("review_window", review);
    key(VK_RETURN);
    right = next();  // the first word's line while the second is asked
    ASSERT_TRUE(ShowsText(verdict, WithCount(texts.at("ReviewRightDays"), 2)));
    SaveScreenshot("review_right", review);
    SetWindowTextA(answer, right.c_str());
    ASSERT_TRUE(Foreground(review));  // Ctrl+Return as typed on the keyboard: Easy
    SetFocus(answer);
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(review) == answer; }));
    PressKeys({VK_CONTROL, VK_RETURN});
    right = next();  // shown: Again, taken by Return, then asked once more
    key(VK_ESCAPE);
    ASSERT_TRUE(ShowsText(verdict, texts.at("ReviewShownNext")));
    SaveScreenshot("review_shown", review);
    key(VK_RETURN);
    ASSERT_TRUE(ShowsText(verdict, ""));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(review, 27)) != FALSE; }));
    SetWindowTextA(answer, right.c_str());
    key(VK_RETURN);
    // The summary is the window test's; Yes closes the window.
    EXPECT_NE(Answer(IDYES, "", "review_summary"), "<no message box>");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(review); }));
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
    EXPECT_EQ(logged, (std::vector<std::string>{order[0] + " 2", order[1] + " 4", order[2] + " 1"}));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }));

    HWND chart = Open(main, 3002, "herhaalgrafiek");
    RECT client;
    GetClientRect(chart, &client);  // today's bar of the reviews, at the top row's right
    SendMessageA(chart, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2 - 16, client.bottom / 2 - 42));
    UpdateWindow(chart);
    SaveScreenshot("review_progress", chart);
    Close(chart);

    // With a month's log of 90 words the schedule is fitted to the learner, who takes it: the
    // weights file is written and the progress window measures those weights.
    std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
    words.resize(90);
    fixture.Write("wordlists\\dut_eng.revlog", DemoLog(words, NowMs()));
    PostMessageA(main, WM_COMMAND, 3003, 0);  // Practice mode > Optimize review for this pair
    EXPECT_NE(Answer(IDYES, "", "optimize_question").find(texts.at("OptimizeQuestion")), std::string::npos);
    ASSERT_TRUE(WaitUntil([&] { return fixture.Exists("wordlists\\dut_eng.revparams"); }));
    EXPECT_EQ(fixture.Read("wordlists\\dut_eng.revparams").rfind("revparams 1 ", 0), 0u);
    chart = Open(main, 3002, "herhaalgrafiek");
    SaveScreenshot("review_calibration", chart);
    Close(chart);
}
