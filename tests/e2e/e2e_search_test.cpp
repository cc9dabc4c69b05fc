// End-to-end test of the search window and the palette.

#include <algorithm>
#include <tuple>

#include "driver.h"

namespace {

class SearchTest : public EndToEnd {
protected:
    HWND Cell(int id) { return GetDlgItem(search, id); }
    std::string Word(int row) { return WindowText(Cell(100 + row)); }
    void Type(HWND control, const std::string& text) {
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Enter(HWND cell, const std::string& text) {
        Type(cell, text);
        SendMessageA(cell, WM_KEYDOWN, VK_RETURN, 0);
    }
    // Chooses the first item of a cell's pop-up menu.
    void CellMenu(HWND cell) {
        PostMessageA(cell, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }

    const std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
    HWND search = nullptr, field = nullptr;
};

}  // namespace

// The visit as a user makes it: the thumb, edits, a rebuild, a deletion, copies made
// elsewhere, the palette, and a pair switch, which sorts the edited word into place and drops
// the deleted record before the new language's letters and palette come; then the compact
// layout. (Pages, keys, the deleted mark and the compact row's editing are the window tests'.)
TEST_F(SearchTest, AVisitFromTheFirstPageToAPairSwitchAndTheCompactLayout) {
    WriteProfileStringA("Dictionary", "ClipSearch", "1");
    fixture.Write("charset\\dutch.chs", "\xC0&\xE0\r\n");
    CopyText("water");  // copied before the start: not looked up
    ASSERT_TRUE(Start());
    search = Open(main, 12, "zoeken");
    field = GetDlgItem(search, 30);
    // The first page, down to its tenth row: the word copied before was not looked up.
    EXPECT_EQ(Word(9) + "=" + WindowText(Cell(159)), std::string(words[9].word) + "=" + words[9].translation);
    SaveScreenshot("search-window", search);

    // The thumb moves nothing until it is released.
    const int n = static_cast<int>(words.size());
    HWND bar = Cell(41);
    for (auto [request, position, top] :
         {std::tuple{SB_THUMBTRACK, 7, 0}, {SB_THUMBPOSITION, n / 10, n - 10}, {SB_THUMBPOSITION, 0, 0}}) {
        SendMessageA(search, WM_VSCROLL, MAKEWPARAM(request, position), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(Word(0), words[top].word) << request;
    }

    Enter(Cell(153), "changed, too");
    Enter(Cell(100), "zzz last word");
    EXPECT_EQ(Word(0), "zzz last word");  // it keeps its place until the sort
    // A size rebuilds the window in place while the sort is pending.
    PostMessageA(search, WM_COMMAND, 625, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(search); }));
    search = Window("zoeken");
    field = GetDlgItem(search, 30);
    EXPECT_EQ(Word(0), "zzz last word");
    Enter(Cell(102), "");  // refused: the stored text comes back
    EXPECT_EQ(Word(2), words[2].word);
    CellMenu(Cell(151));  // delete the record in row 1
    EXPECT_TRUE(ShowsText(Cell(101), "(deleted)"));
    CellMenu(Cell(151));  // restored, it has its own texts back
    EXPECT_TRUE(ShowsText(Cell(101), words[1].word));
    CellMenu(Cell(152));
    EXPECT_TRUE(ShowsText(Cell(102), "(deleted)"));

    // A format listener, not a link of the viewer chain, which one careless viewer breaks;
    // off and on again from the menu, it listens still.
    DWORD viewerProcess = 0;
    GetWindowThreadProcessId(GetClipboardViewer(), &viewerProcess);
    EXPECT_NE(viewerProcess, program->id());
    SendMessageA(search, WM_COMMAND, 57, 0);
    SendMessageA(search, WM_COMMAND, 56, 0);
    // Copied while the search window is active: no search. A character posted behind the
    // copy's notice shows when that has been handled.
    ASSERT_TRUE(Foreground(search));
    CopyText(words[120].word);
    PostMessageA(field, WM_CHAR, 'q', 0);
    EXPECT_TRUE(ShowsText(field, "q"));
    // Another program's window in front, the search window minimized: looked up and shown.
    HWND other =
        CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    auto minimize = [&] {
        ShowWindow(search, SW_MINIMIZE);
        return Foreground(other) && WaitUntil([&] { return IsIconic(search); });
    };
    ASSERT_TRUE(minimize());
    CopyText(words[120].word);
    EXPECT_TRUE(ShowsText(Cell(100), words[120].word));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(search); }));
    // A copy of megabytes: only as much as a search can use, and no stall.
    ASSERT_TRUE(minimize());
    std::string big;
    for (int i = 0; big.size() < 3000000; ++i) big += "word" + std::to_string(i) + " ";
    CopyText(big);
    EXPECT_TRUE(ShowsText(field, big.substr(0, 37)));
    EXPECT_TRUE(Sync(search));
    DestroyWindow(other);

    // The palette is centred above the search window; an ampersand shows as itself.
    Type(field, "");
    HWND palette = Open(search, 6, "tekenset");
    const Placement owner = PlacementOf(search), shown = PlacementOf(palette);
    EXPECT_EQ(shown, (Placement{owner[0] + (owner[2] - shown[2]) / 2, std::max(0, owner[1] - 70), shown[2], 70}));
    EXPECT_EQ(WindowText(GetDlgItem(palette, 1)), "&&");
    for (int button : {0, 1, 2}) SendMessageA(GetDlgItem(palette, button), BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(field), "\xC0&\xE0");
    SaveScreenshot("search-window-palette", palette);
    SendMessageA(search, WM_COMMAND, 7, 0);
    EXPECT_FALSE(IsWindow(palette));

    SendMessageA(search, WM_COMMAND, 204, 0);  // Modern Greek into english
    const std::vector<WordRecord> after = fixture.Records("dut_eng.gk");
    ASSERT_EQ(after.size(), words.size() - 1);
    EXPECT_STREQ(after.back().word, "zzz last word");
    EXPECT_STREQ(after[0].word, words[1].word);
    EXPECT_STREQ(after[1].translation, "changed, too");
    EXPECT_EQ(WideText(Cell(100)), L"\x03b1\x03b3\x03ac\x03c0\x03b7");  // the first word, in Greek letters
    SaveScreenshot("search-window-greek", search);

    // The compact layout: F2 edits its one row, in the editing colour; Escape ends that.
    PostMessageA(search, WM_COMMAND, 600, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(search); }));
    search = Window("zoeken");
    ASSERT_TRUE(Foreground(search));
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(search) == GetDlgItem(search, 30); }));
    PressKeys({VK_F2});
    PressKeys({'K'});
    EXPECT_TRUE(ShowsText(Cell(100), "k"));
    SaveScreenshot("search-window-compact-editing", search);
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return WideText(Cell(100)) == L"\x03b1\x03b3\x03ac\x03c0\x03b7"; }));
    SaveScreenshot("search-window-compact", search);
}
