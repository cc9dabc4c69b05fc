// End-to-end tests of the search window and the palette.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "driver.h"

namespace {

const int kMenuAndCaption = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU);

// The program with its search window open on the demo data (dutch into english).
class SearchTest : public EndToEnd {
protected:
    bool OpenSearch() {
        if (!Start()) return false;
        search = Open(main, 12, "zoeken");
        field = GetDlgItem(search, 30);
        return search && WaitUntil([&] { return !IsWindowVisible(main); });
    }
    HWND Cell(int id) { return GetDlgItem(search, id); }
    std::string Word(int row) { return WindowText(Cell(100 + row)); }
    std::string Translation(int row) { return WindowText(Cell(150 + row)); }
    void Type(HWND control, const std::string& text) {
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Enter(HWND cell, const std::string& text) {
        Type(cell, text);
        Key(cell, VK_RETURN);
    }
    void Key(HWND target, WPARAM key) { SendMessageA(target, WM_KEYDOWN, key, 0); }
    // Chooses an item of a cell's pop-up menu by its place.
    void CellMenu(HWND cell, int item) {
        PostMessageA(cell, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
        for (int i = 0; i <= item; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }

    const std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
    HWND search = nullptr, field = nullptr;
};

}  // namespace

// The visit as a user makes it: pages, typing, edits, a rebuild, a deletion taken back.
// Closing drops the deleted record and sorts the edited word into place.
TEST_F(SearchTest, BrowseEditRebuildDeleteAndClose) {
    ASSERT_TRUE(OpenSearch());
    const Placement before = PlacementOf(search);
    EXPECT_EQ(before[2], 630);
    EXPECT_EQ(before[3], kMenuAndCaption + 23 * 10 + 80);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(Word(row), words[row].word);
        EXPECT_EQ(Translation(row), words[row].translation);
    }
    SaveScreenshot("search-window", search);

    const int n = static_cast<int>(words.size());
    HWND bar = Cell(41);
    // Tens, pages, and the thumb, which moves nothing until it is released.
    for (auto [request, position, top] : {std::tuple{SB_PAGEDOWN, 0, 10},
                                          {SB_LINEDOWN, 0, 11},
                                          {SB_PAGEUP, 0, 1},
                                          {SB_THUMBTRACK, 7, 1},
                                          {SB_THUMBPOSITION, n / 10, n - 10}}) {
        SendMessageA(search, WM_VSCROLL, MAKEWPARAM(request, position), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(Word(0), words[top].word) << request << "," << position;
    }
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), (n - 10) / 10);
    Type(field, "zzzzzz");  // after every word: the last full page
    EXPECT_EQ(Word(9), words[n - 1].word);
    Key(field, VK_RETURN);
    EXPECT_EQ(WindowText(field), "");
    for (auto [key, top] : {std::pair{VK_UP, 0}, {VK_DOWN, 1}, {VK_UP, 0}}) {
        Key(field, key);
        EXPECT_EQ(Word(0), words[top].word) << top;
    }

    Enter(Cell(153), "changed, too");
    Enter(Cell(100), "zzz last word");
    EXPECT_EQ(Word(0), "zzz last word");  // it keeps its place until the window closes
    // A size rebuilds the window in place while the sort is pending.
    PostMessageA(search, WM_COMMAND, 625, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(search); }));
    ASSERT_NE(search = program->WaitForWindow("zoeken"), nullptr);
    EXPECT_EQ(PlacementOf(search), (Placement{before[0], before[1], 630, kMenuAndCaption + 23 * 25 + 80}));
    EXPECT_FALSE(IsWindowVisible(main));
    SaveScreenshot("search-window-25-rows", search);
    EXPECT_EQ(Word(0), "zzz last word");
    Enter(Cell(102), "");  // refused: the stored text comes back
    EXPECT_EQ(Word(2), words[2].word);
    CellMenu(Cell(151), 0);  // delete the record in row 1
    EXPECT_TRUE(ShowsText(Cell(101), "(deleted)"));
    EXPECT_EQ(Translation(1), "(deleted)");
    CellMenu(Cell(151), 0);  // restored, it has its own texts back
    EXPECT_TRUE(ShowsText(Cell(101), words[1].word));
    CellMenu(Cell(152), 0);
    EXPECT_TRUE(ShowsText(Cell(102), "(deleted)"));
    Close(search);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }));
    const std::vector<WordRecord> after = fixture.Records("dut_eng.gk");
    ASSERT_EQ(after.size(), words.size() - 1);
    EXPECT_STREQ(after.back().word, "zzz last word");
    EXPECT_STREQ(after[0].word, words[1].word);
    EXPECT_STREQ(after[1].translation, "changed, too");
}

TEST_F(SearchTest, ClipboardSearchFollowsCopiesMadeElsewhere) {
    WriteProfileStringA("Dictionary", "ClipSearch", "1");
    CopyText("water");  // copied before the start: not looked up
    ASSERT_TRUE(OpenSearch());
    Sync(search);
    EXPECT_EQ(WindowText(field), "");
    EXPECT_EQ(Word(0), words[0].word);
    // A format listener, not a link of the viewer chain, which one careless viewer breaks.
    DWORD viewerProcess = 0;
    GetWindowThreadProcessId(GetClipboardViewer(), &viewerProcess);
    EXPECT_NE(viewerProcess, program->id());
    // Off and on again from the menu.
    SendMessageA(search, WM_COMMAND, 57, 0);
    SendMessageA(search, WM_COMMAND, 56, 0);

    // Copied while the search window is active: no search. A character posted behind the
    // copy's notice shows when that has been handled.
    ASSERT_TRUE(Foreground(search));
    CopyText(words[120].word);
    PostMessageA(field, WM_CHAR, 'q', 0);
    EXPECT_TRUE(ShowsText(field, "q"));

    // Another program's window in front, the search window minimized.
    HWND other =
        CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    auto minimize = [&] {
        ShowWindow(search, SW_MINIMIZE);
        return Foreground(other) && WaitUntil([&] { return IsIconic(search); });
    };
    ASSERT_TRUE(minimize());
    CopyText(words[120].word);
    EXPECT_TRUE(ShowsText(Cell(100), words[120].word));
    EXPECT_EQ(WindowText(field), words[120].word);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(search); }));

    // A copy of megabytes: only as much as a search can use, and no stall.
    ASSERT_TRUE(minimize());
    std::string big;
    for (int i = 0; big.size() < 3000000; ++i) big += "word" + std::to_string(i) + " ";
    CopyText(big);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(field) != words[120].word; }));
    EXPECT_LE(SendMessageA(field, WM_GETTEXTLENGTH, 0, 0), 37);
    EXPECT_EQ(WindowText(field), big.substr(0, 37));
    EXPECT_TRUE(Sync(search));
    DestroyWindow(other);
    Close(search);
    Close(main);
    EXPECT_EQ(SettingNumber("ClipSearch", -1), 1);
}

// The palette types into the search field; a pair switch sorts the old pair first and
// brings the new language's letters and palette.
TEST_F(SearchTest, PaletteAndPairSwitch) {
    fixture.Write("charset\\dutch.chs", "\xC0&\xE0\r\n");
    ASSERT_TRUE(OpenSearch());
    HWND palette = Open(search, 6, "tekenset");
    ASSERT_NE(palette, nullptr);
    // Centred above the search window; an ampersand shows as itself, not as a mark.
    const Placement owner = PlacementOf(search), shown = PlacementOf(palette);
    EXPECT_EQ(shown, (Placement{owner[0] + (owner[2] - shown[2]) / 2, std::max(0, owner[1] - 70), shown[2], 70}));
    EXPECT_EQ(WindowText(GetDlgItem(palette, 1)), "&&");
    for (int button : {0, 1, 2}) SendMessageA(GetDlgItem(palette, button), BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(field), "\xC0&\xE0");
    SaveScreenshot("search-window-palette", palette);
    SendMessageA(search, WM_COMMAND, 7, 0);
    EXPECT_FALSE(IsWindow(palette));

    Enter(Cell(100), "zzz moved");
    SendMessageA(search, WM_COMMAND, 201, 0);  // german into english
    EXPECT_STREQ(fixture.Records("dut_eng.gk").back().word, "zzz moved");
    EXPECT_EQ(Word(0), fixture.Records("ger_eng.gk")[0].word);
    SendMessageA(search, WM_COMMAND, 204, 0);                           // Modern Greek into english
    EXPECT_EQ(WideText(Cell(100)), L"\x03b1\x03b3\x03ac\x03c0\x03b7");  // the first word, in Greek letters
    Type(field, "");
    palette = Open(search, 6, "tekenset");
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(WideText(GetDlgItem(palette, 0)), L"\x03b1");  // from the language's palette file
    SendMessageA(GetDlgItem(palette, 0), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(palette, 1), BM_CLICK, 0, 0);
    EXPECT_EQ(WideText(field), L"\x03b1\x03b2");
    SaveScreenshot("search-window-greek", search);
}
