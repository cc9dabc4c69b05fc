// The practice-list window worked in-process: short files and a compaction that fails.

#include "ui/list_window.h"

#include <gtest/gtest.h>

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "ui/secondary_window.h"
#include "ui/ui_support.h"

namespace {

// The pair english into dutch over `words`, the list "Verbs" holding `listed`.
class ListWindowTest : public UiTest {
protected:
    void Open(const std::vector<WordRecord>& words, const std::vector<WordRecord>& listed) {
        Start("[languages]\nenglish\n", {{"CreateListDeleted", "(gone)"}});
        CurrentPair = PairAt(0);
        WriteRecords("words/eng_dut.gk", words);
        WriteRecords("lists/Verbs/eng_dut.ls", listed);
        Settings.PracticeList = "Verbs";
        ReopenStore();
        SecondaryWindowOpen = 1;
        list = OpenListWindow();
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override {
        if (IsWindow(list)) DestroyWindow(list);
        UiTest::TearDown();
    }
    void Click(int id) {
        SendMessageA(GetDlgItem(list, id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(GetDlgItem(list, id), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    std::wstring Row(int id) { return WideText(GetDlgItem(list, id)); }
    void Scroll(int bar, UINT code, int position = 0) {
        SendMessageA(list, WM_VSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(GetDlgItem(list, bar)));
    }
    HWND list = nullptr;
};

std::wstring Word(int i) {
    const std::string word = NumberedWord(i);
    return std::wstring(word.begin(), word.end());
}

std::vector<WordRecord> Numbered(int count) {
    std::vector<WordRecord> records;
    for (int i = 0; i < count; ++i) records.push_back(Record(NumberedWord(i), "t"));
    return records;
}

}  // namespace

TEST_F(ListWindowTest, ShortFilesFillOnlyTheirRowsAndEmptyRowsDoNothing) {
    Open(Numbered(3), Numbered(2));
    EXPECT_EQ(Row(552), Word(2));
    EXPECT_EQ(Row(553), L"");
    EXPECT_EQ(Row(502), L"");
    Click(555);  // past the word file
    Click(505);  // past the list
    Scroll(42, SB_PAGEDOWN);
    Scroll(41, SB_LINEDOWN);
    SendMessageA(GetDlgItem(list, 30), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(ListCount, 2);
    EXPECT_EQ(ModifiedFlag, 0);
    EXPECT_EQ(Row(550), Word(0));
    EXPECT_EQ(Row(500), Word(0));
}

// The temporary file cannot be made: the list stays as it was, marks included, and the
// window still closes.
TEST_F(ListWindowTest, ACompactionThatCannotWriteLeavesTheListWhole) {
    Open(Numbered(10), Numbered(10));
    CreateDirectoryA("list.tmp", nullptr);
    Click(500);
    SendMessageA(list, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(ModifiedFlag, 0);
    EXPECT_EQ(ReadRecords("lists/Verbs/eng_dut.ls").size(), 10u);
    EXPECT_NE(ReadRecords("lists/Verbs/eng_dut.ls")[2].deleted, 0);
}
