// The review window worked in-process on a fixed clock: the ratings its keys log and the
// menu's counts of due and new words (how they schedule and which words count is the core's).

#include "ui/review_window.h"

#include "core/review/review_log.h"
#include "core/review/scheduler.h"
#include "ui/ui_support.h"

namespace {

constexpr std::int64_t kMonday = 1767600000000;  // 2026-01-05 08:00 UTC

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

TEST_F(ReviewWindowTest, AnswersAreRatedAndLogged) {
    Open();
    const struct {
        const wchar_t* asked;
        const wchar_t* typed;
        WPARAM key;
        bool control;
    } steps[] = {
        {L"cat", L"kat", VK_RETURN, false},     // right at once: Good
        {L"dog", L"hnd", VK_RETURN, false},     // wrong,
        {L"dog", L"hnd", VK_RETURN, false},     // wrong again, the same,
        {L"dog", L"hond", VK_RETURN, false},    // then right: Hard, once
        {L"house", nullptr, VK_ESCAPE, false},  // shown: Again,
        {L"house", nullptr, VK_RETURN, false},  // and taken as shown
        {L"tree", L"boom", VK_RETURN, true},    // right with Ctrl: Easy
    };
    for (const auto& step : steps) {
        ASSERT_EQ(Asked(), step.asked);
        Key(step.typed, step.key, step.control);
    }
    // Again comes back (only tree was left to come between) and is not logged twice.
    ASSERT_EQ(Asked(), L"house");
    const std::vector<ShownBox> boxes = BoxesShownWhile([&] { Key(L"huis", VK_RETURN); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"No more words are due today.   ");
    const std::string t = std::to_string(kMonday);
    EXPECT_EQ(ReadFile("words/eng_dut.revlog"),
              t + ",cat,3,0\r\n" + t + ",dog,2,0\r\n" + t + ",house,1,0\r\n" + t + ",tree,4,0\r\n");
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
