// The review window worked in-process on a fixed clock: the ratings its keys log, what it
// shows of each answer and at the end, and the menu's counts of due and new words (how they
// schedule and which words count is the core's).

#include "ui/review_window.h"

#include <algorithm>

#include "core/review/review_log.h"
#include "core/review/scheduler.h"
#include "ui/ui_support.h"

namespace {

constexpr std::int64_t kMonday = 1767600000000;  // 2026-01-05 08:00 UTC

// 'r', 'g' or 'b' for a colour that one channel leads, '-' for greys, black and white.
char Tint(COLORREF c) {
    const int rgb[] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    const int* most = std::max_element(rgb, rgb + 3);
    if (*most - *std::min_element(rgb, rgb + 3) < 24) return '-';
    return "rgb"[most - rgb];
}

class ReviewWindowTest : public UiTest {
protected:
    void SetUp() override {
        const std::vector<WordRecord> words = {Record("cat", "kat"), Record("dog", "hond"), Record("house", "huis"),
                                               Record("tree", "boom")};
        StartEnglish(words, {}, "Nouns", words);
        ReviewClock = [] { return kMonday; };
        Settings.ReviewNewPerDay = 20;
    }
    void Open() {
        ASSERT_NE(review = OpenWindow(OpenReviewPractice), nullptr);
        answer = GetDlgItem(review, IDC_PRACTICE_ANSWER);
        // The first word comes once the window stands.
        MSG msg;
        while (WideText(GetDlgItem(review, IDC_PRACTICE_TEXT)).empty() && GetMessageW(&msg, nullptr, 0, 0))
            DispatchMessageW(&msg);
    }
    std::wstring Asked() { return WideText(GetDlgItem(review, IDC_PRACTICE_TEXT)); }
    HWND Verdict() { return GetDlgItem(review, IDC_REVIEW_VERDICT); }
    // The colours the window gives the verdict line's text and the answer field's background.
    COLORREF ColourOf(UINT message, HWND control, bool text) {
        Canvas canvas(1, 1);
        SendMessageW(review, message, reinterpret_cast<WPARAM>(canvas.dc()), reinterpret_cast<LPARAM>(control));
        return text ? GetTextColor(canvas.dc()) : GetBkColor(canvas.dc());
    }
    // Return (or Ctrl+Return) on a typed answer; Escape shows the translation.
    void Key(const wchar_t* typed, WPARAM key, bool control = false) {
        if (typed) SetWindowTextW(answer, typed);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(answer, WM_KEYDOWN, key, 1);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    HWND review = nullptr, answer = nullptr;
};

}  // namespace

// Each answer shows on screen, sound or no sound: a wrong one in red, the field tinted; a
// shown one with what Return does; a right one in green with when the word comes back (new
// words: Hard in 2 days, Good 3, Easy 8, Again the next day), for a while. The ratings go to
// the log (which answer earns which is the core's); the run ends with what it did and offers
// to close the window, and the next one, with nothing to ask, says only that.
TEST_F(ReviewWindowTest, EveryAnswerShowsHowItWentAndTheRunEndsWithItsSum) {
    Open();
    const struct {
        const wchar_t* asked;
        const wchar_t* typed;
        WPARAM key;
        bool control;
        const wchar_t* line;
        char lineTint, fieldTint;
    } steps[] = {
        {L"cat", L"kot", VK_RETURN, false, L"Wrong, try again.", 'r', 'r'},
        {L"cat", L"kat", VK_RETURN, false, L"Right! Next review in 2 days.", 'g', '-'},
        {L"dog", nullptr, VK_ESCAPE, false, L"Return: next word", 'b', '-'},
        {L"dog", nullptr, VK_RETURN, false, L"", '?', '-'},
        {L"house", L"huis", VK_RETURN, true, L"Right! Next review in 8 days.", 'g', '-'},
        {L"tree", L"boom", VK_RETURN, false, L"Right! Next review in 3 days.", 'g', '-'},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.asked);
        ASSERT_EQ(Asked(), step.asked);
        Key(step.typed, step.key, step.control);
        EXPECT_EQ(WideText(Verdict()), step.line);
        if (*step.line) {
            EXPECT_EQ(Tint(ColourOf(WM_CTLCOLORSTATIC, Verdict(), true)), step.lineTint);
        }
        EXPECT_EQ(Tint(ColourOf(WM_CTLCOLOREDIT, answer, false)), step.fieldTint);
    }
    // The line goes by itself after a while.
    EXPECT_TRUE(PumpUntil([&] { return WideText(Verdict()).empty(); }));
    // Shown, dog comes back; right now, it is due tomorrow.
    ASSERT_EQ(Asked(), L"dog");
    const std::vector<ShownBox> boxes = BoxesShownWhile([&] { Key(L"hond", VK_RETURN); }, IDYES);
    EXPECT_EQ(WideText(Verdict()), L"Right! Next review tomorrow.");
    EXPECT_EQ(OwnedBoxes(boxes, review),
              std::vector<std::wstring>{L"This review is finished.\n\nWords reviewed: 4\nRight at the first try: 2\n"
                                        L"New words learnt: 4\nDue tomorrow: 1\n\nClose the review window?   "});
    const std::string t = std::to_string(kMonday);
    EXPECT_EQ(ReadFile("words/eng_dut.revlog"),
              t + ",cat,2,0\r\n" + t + ",dog,1,0\r\n" + t + ",house,4,0\r\n" + t + ",tree,3,0\r\n");
    // Yes closes the window through its queue.
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(review); }));

    const std::vector<ShownBox> again = BoxesShownWhile([&] {
        review = OpenWindow(OpenReviewPractice);
        PumpUntil([&] { return !IsWindowEnabled(GetDlgItem(review, IDC_PRACTICE_ANSWER)); });
    });
    EXPECT_EQ(OwnedBoxes(again, review), std::vector<std::wstring>{L"No more words are due today.   "});
}

// The menu tells both what is due and the new words a review would ask, in the words of the
// strings file; one older than the count of new words still gives its own text, due only.
TEST_F(ReviewWindowTest, MenuTellsTheWordsDueAndTheNewWordsToCome) {
    // cat, answered Good five days ago, is due; the list's three others are new.
    WriteFile("words/eng_dut.revlog", review::LogLine({kMonday - 5 * review::kDayMs, "cat", 3, 0}));
    const struct {
        std::map<std::string, std::string> strings;
        const wchar_t* text;
    } cases[] = {
        {{}, L"&Review due words (1 due, 3 new today)"},
        {{{"MainMenuReviewDueNew", "&Herhaal de woorden van vandaag (%d te herhalen, %d nieuw)"}},
         L"&Herhaal de woorden van vandaag (1 te herhalen, 3 nieuw)"},
        {{{"MainMenuReview", "&Herhaal de woorden van vandaag (%d te herhalen)"}},
         L"&Herhaal de woorden van vandaag (1 te herhalen)"},
    };
    for (const auto& c : cases) {
        UseStrings(c.strings);
        EXPECT_EQ(ReviewMenuText(), c.text);
    }
}
