// The practice-list window worked in-process: short files, compaction, and its lists menu.

#include "ui/list_window.h"

#include <functional>

#include "core/lists/list_storage.h"
#include "ui/random_window.h"
#include "ui/ui_support.h"

namespace {

// The pair english into dutch over `words`, the list "Verbs" holding `listed`.
class ListWindowTest : public UiTest {
protected:
    void Open(const std::vector<WordRecord>& words, const std::vector<WordRecord>& listed) {
        StartEnglish(words, {{"CreateListDeleted", "(gone)"}}, "Verbs", listed);
        ASSERT_NE(list = OpenWindow(OpenListWindow), nullptr);
    }
    void Click(int id) {
        SendMessageA(GetDlgItem(list, id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(GetDlgItem(list, id), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    std::wstring Row(int id) { return WideText(GetDlgItem(list, id)); }
    HWND list = nullptr;
};

std::vector<WordRecord> Numbered(int count) {
    std::vector<WordRecord> records;
    for (int i = 0; i < count; ++i) records.push_back(Record(NumberedWord(i), "t"));
    return records;
}

}  // namespace

// (How far a page or a line moves is the core pager's.)
TEST_F(ListWindowTest, ShortFilesFillOnlyTheirRowsAndEmptyRowsDoNothing) {
    Open(Numbered(3), Numbered(2));
    // The last word with its translation (a field of the same id), the last entry, two empty rows.
    EXPECT_EQ(Row(552) + L"=" + WideText(GetWindow(GetDlgItem(list, 552), GW_HWNDNEXT)) + L"|" + Row(501) + L"|" +
                  Row(553) + Row(502),
              L"w00002=t|w00001|");
    Click(555);                                   // past the word file
    Click(505);                                   // past the list
    EXPECT_EQ(GetFocus(), GetDlgItem(list, 30));  // a row clicked gives the focus back to the search field
    EXPECT_EQ(ListCount, 2);
    EXPECT_EQ(ModifiedFlag, 0);
}

// The temporary file cannot be made: the list stays as it was, marks included, and the
// window still closes.
TEST_F(ListWindowTest, ACompactionThatCannotWriteLeavesTheListWhole) {
    Open(Numbered(10), Numbered(10));
    CreateDirectoryA("list.tmp", nullptr);
    Click(500);
    const std::vector<ShownBox> boxes = BoxesShownWhile([&] { SendMessageA(list, WM_CLOSE, 0, 0); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, list);
    EXPECT_NE(boxes[0].text.find(L"marked words could not be removed"), std::wstring::npos);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(ModifiedFlag, 0);
    EXPECT_EQ(ReadRecords("lists/Verbs/eng_dut.ls").size(), 10u);
    EXPECT_NE(ReadRecords("lists/Verbs/eng_dut.ls")[2].deleted, 0);
}

// A new list enters the menu checked, a deleted one leaves it; a directory that cannot be
// made is told in a box and keeps the dialog open for another name. The delete question names
// the list as the file system spells it, whatever the interface's character set (0xE8 is
// e-grave in the file system's code page, c-caron in Central Europe's).
TEST_F(ListWindowTest, TheListsMenuFollowsNewAndDeletedLists) {
    Open(Numbered(3), {});
    WriteFile("lists/Blocked", "a file where the directory would go");
    auto typeInDialog = [&](const wchar_t* name, const std::function<void(HWND)>& then) {
        WhileModal(
            [&] {
                HWND dialog = GetActiveWindow();
                SetDlgItemTextW(dialog, 30, name);
                then(dialog);
            },
            [&] { SendMessageA(list, WM_COMMAND, IDM_LIST_NEW, 0); });
    };
    std::wstring told;
    typeInDialog(L"Blocked", [&](HWND dialog) {
        WhileModal(
            [&] {
                told = WideText(GetDlgItem(GetActiveWindow(), 0xFFFF));
                PostMessageW(GetActiveWindow(), WM_COMMAND, IDOK, 0);
            },
            [&] { SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0); });
        EXPECT_TRUE(IsWindow(dialog));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_NE(told.find(L"could not be made"), std::wstring::npos);
    EXPECT_EQ(Settings.PracticeList, "Verbs");

    typeInDialog(L"tch\u00E8que", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(MenuItems(GetSubMenu(GetMenu(list), 1)), (std::vector<std::wstring>{L"tch\u00E8que 800*", L"Verbs 801"}));
    UiCharset = EASTEUROPE_CHARSET;
    const std::vector<ShownBox> asked =
        BoxesShownWhile([&] { SendMessageA(list, WM_COMMAND, IDM_LIST_DELETE, 0); }, IDYES);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].text.find(L"tch\u00E8que"), std::wstring::npos);
    EXPECT_EQ(MenuItems(GetSubMenu(GetMenu(list), 1)), (std::vector<std::wstring>{L"Verbs 800*"}));
}

// The random window holds the list window off while it is open (a click there added words
// and started prints behind it). Return in its count draws and closes the window from inside
// its own field (the field's procedure must not go on with a control that is gone); Escape
// and the close box close it drawing nothing; either way the list window takes input again.
TEST_F(ListWindowTest, TheRandomWindowHoldsTheListWindowOffUntilItCloses) {
    Open(Numbered(5), {});
    const struct {
        std::function<void(HWND random, HWND number)> close;
        std::int32_t drawn;
    } cases[] = {
        {[](HWND, HWND number) { SendMessageA(number, WM_KEYDOWN, VK_ESCAPE, 1); }, 0},
        {[](HWND random, HWND) { SendMessageA(random, WM_CLOSE, 0, 0); }, 0},
        {[](HWND, HWND number) { SendMessageA(number, WM_KEYDOWN, VK_RETURN, 1); }, 2},
    };
    for (const auto& c : cases) {
        SendMessageA(GetDlgItem(list, IDC_LIST_ADD_RANDOM), BM_CLICK, 0, 0);
        HWND random = RandomWindow();
        ASSERT_NE(random, nullptr);
        EXPECT_FALSE(IsWindowEnabled(list));
        HWND number = GetDlgItem(random, IDC_RANDOM_NUMBER);
        SetWindowTextA(number, "2");
        c.close(random, number);
        EXPECT_EQ(RandomWindow(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(list));
        EXPECT_EQ(ListCount, c.drawn);
    }
}
