// End-to-end tests of the practice-list window and its random selection.

#include <cstring>

#include "driver.h"

namespace {

const char kFirstList[] = "..\\lists\\First words\\dut_eng.ls";

bool SameEntry(const WordRecord& a, const WordRecord& b) {
    return std::strcmp(a.word, b.word) == 0 && std::strcmp(a.translation, b.translation) == 0;
}

// The program with its practice-list window open on the demo pair dutch into english.
class ListWindowTest : public EndToEnd {
protected:
    void OpenList() {
        ASSERT_TRUE(Start());
        list = Open(main, 13, "lijst");
    }
    // A click on a field: it takes the focus, which is what makes a row act. Sent, not
    // posted: a message sent later (a scroll) would otherwise overtake posted ones.
    void Click(HWND control) {
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    void Press(HWND window, int button) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
    }
    HWND ListRow(int row) { return GetDlgItem(list, 500 + row); }
    HWND WordRow(int row) { return GetDlgItem(list, 550 + row); }
    HWND TranslationRow(int row) { return FindWindowExA(list, WordRow(row), "Edit", nullptr); }
    HWND list = nullptr;
};

}  // namespace

// Which counts are refused and what a draw takes are the core's, how the random window
// closes the window test's; here its draw lands in the list and its pane. Clicks then append
// and mark, and closing removes the marked, keeping the order.
TEST_F(ListWindowTest, DrawsClicksAndMarksReachTheListFile) {
    const std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
    ASSERT_EQ(fixture.Records(kFirstList).size(), 20u);
    OpenList();
    SaveScreenshot("list_window", list);

    HWND random = Open(list, 17, "addrandom", texts.at("CreateListAddRandomNumber").c_str());
    SaveScreenshot("random_window", random);
    SetWindowTextA(GetDlgItem(random, 30), "5");
    Press(random, 18);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(random); }));
    std::vector<WordRecord> expected = fixture.Records(kFirstList);
    ASSERT_EQ(expected.size(), 5u);  // emptied first
    EXPECT_TRUE(ShowsText(ListRow(4), expected.back().word));

    // A page of the word scroll bar is eight records; either column of a row appends it.
    Click(WordRow(2));
    SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), reinterpret_cast<LPARAM>(GetDlgItem(list, 42)));
    EXPECT_TRUE(ShowsText(TranslationRow(0), words[8].translation));
    Click(TranslationRow(0));
    expected.push_back(words[2]);
    expected.push_back(words[8]);
    EXPECT_TRUE(ShowsText(ListRow(6), words[8].word));
    Click(ListRow(0));
    EXPECT_TRUE(ShowsText(ListRow(0), texts.at("CreateListDeleted")));
    Click(ListRow(1));
    Click(ListRow(1));  // marked and taken back
    EXPECT_TRUE(ShowsText(ListRow(1), expected[1].word));
    expected.erase(expected.begin());

    Press(list, 14);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(list); }));
    const std::vector<WordRecord> compacted = fixture.Records(kFirstList);
    ASSERT_EQ(compacted.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(SameEntry(compacted[i], expected[i]) && compacted[i].deleted == 0) << i;
}
