// Interactive practice worked in-process: errors counted per answer checked, a best score that
// cannot be stored, the focus on activation.

#include "ui/interactive_window.h"

#include "ui/ui_support.h"

namespace {

// The pair english into dutch, practised over the list "Verbs" of one word.
class InteractivePracticeTest : public UiTest {
protected:
    void SetUp() override {
        StartEnglish({Record("house", "huis")}, {{"PracticeScoreNotSaved", "score lost"}}, "Verbs",
                     {Record("house", "huis")});
        ASSERT_NE(practice = OpenWindow(OpenInteractivePractice), nullptr);
        answer = GetDlgItem(practice, IDC_PRACTICE_ANSWER);
    }
    void Answer(const wchar_t* typed, int repeats = 0) {
        SetWindowTextW(answer, typed);
        HoldKey(answer, VK_RETURN, repeats);
    }
    std::wstring ScoreText() {
        for (HWND c = nullptr; (c = FindWindowExW(practice, c, L"Static", nullptr));) {
            const std::wstring text = WideText(c);
            if (text.rfind(UiWide(UiKey::PracticeSkipped), 0) == 0) return text;
        }
        return L"(no score)";
    }
    HWND practice = nullptr, answer = nullptr;
};

}  // namespace

// The focus comes back to the answer on activation. Every wrong answer checked counts, a held
// Return checking it once; the last right answer ends the list, and a best score that
// cannot be stored then is reported.
TEST_F(InteractivePracticeTest, WrongAnswersCountAndAScoreThatCannotBeStoredIsReported) {
    SetFocus(practice);
    ASSERT_EQ(GetFocus(), practice);
    SendMessageW(practice, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), answer);
    const struct {
        const wchar_t* typed;
        int repeats;
        int errors;
    } answers[] = {
        {L"hus", 3, 1},   // Return held down: its repeats check nothing
        {L"hus", 0, 2},   // Return again on the same answer
        {L"huus", 0, 3},  // another answer
        {L"hus", 0, 4},   // and the first one given again
    };
    for (const auto& a : answers) {
        Answer(a.typed, a.repeats);
        EXPECT_EQ(ScoreText(), UiWide(UiKey::PracticeSkipped) + L" 0  -  " + UiWide(UiKey::PracticeErrors) + L" " +
                                   std::to_wstring(a.errors))
            << a.typed;
    }
    FailingFileStep fail(1);
    EXPECT_EQ(OwnedBoxes(BoxesShownWhile([&] { Answer(L"huis"); }), practice),
              (std::vector<std::wstring>{L"score lost", UiWide(UiKey::PracticeEndlist)}));
    EXPECT_FALSE(Exists("lists/Verbs/eng_dut.score"));
}
