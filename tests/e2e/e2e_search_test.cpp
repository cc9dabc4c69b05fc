// End-to-end tests of the search window and the palette.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "driver.h"
#include "core/store/word_record.h"

namespace {

std::vector<WordRecord> Records(const Fixture& fixture, const std::string& file) {
    const std::string bytes = fixture.Read("wordlists\\" + file);
    std::vector<WordRecord> records(bytes.size() / sizeof(WordRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(WordRecord));
    return records;
}

// Opens the search window of a running program; its main window comes back in `main`.
HWND OpenSearch(Program& program, HWND& main) {
    main = program.WaitForWindow("glosk");
    if (!main) return nullptr;
    PostMessageA(main, WM_COMMAND, 12, 0);
    return program.WaitForWindow("zoeken");
}

// The program with its search window open on the demo data (dutch into english).
class SearchTest : public testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        words = Records(fixture, "dut_eng.gk");
        program = std::make_unique<Program>(fixture);
        search = OpenSearch(*program, main);
        ASSERT_NE(search, nullptr);
        field = GetDlgItem(search, 30);
        Settle(200);  // the main window hides right after
    }
    void TearDown() override {
        if (program && program->Running() && main) {
            PostMessageA(main, WM_CLOSE, 0, 0);
            program->WaitForExit();
        }
    }
    std::string Word(int row) { return WindowText(GetDlgItem(search, 100 + row)); }
    std::string Translation(int row) { return WindowText(GetDlgItem(search, 150 + row)); }
    void Type(const std::string& text) {
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Key(HWND target, WPARAM key) { SendMessageA(target, WM_KEYDOWN, key, 0); }
    void Scroll(WORD request, WORD position = 0) {
        SendMessageA(search, WM_VSCROLL, MAKEWPARAM(request, position),
                     reinterpret_cast<LPARAM>(GetDlgItem(search, 41)));
    }
    // Chooses an item of a cell's pop-up menu by its place.
    void CellMenu(HWND cell, int item) {
        PostMessageA(cell, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        HWND menu = nullptr;
        for (int i = 0; i < 100 && !menu; ++i, Settle(20)) menu = FindWindowA("#32768", nullptr);
        ASSERT_NE(menu, nullptr);
        for (int i = 0; i <= item; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        for (int i = 0; i < 100 && IsWindowVisible(menu); ++i) Settle(20);
        Settle(100);
    }
    void CloseSearch() {
        PostMessageA(search, WM_CLOSE, 0, 0);
        for (int i = 0; i < 200 && IsWindow(search); ++i) Settle(25);
        ASSERT_FALSE(IsWindow(search));
    }

    Fixture fixture;
    std::vector<WordRecord> words;
    std::unique_ptr<Program> program;
    HWND main = nullptr, search = nullptr, field = nullptr;
};

}  // namespace

TEST_F(SearchTest, WindowAndFirstPage) {
    EXPECT_FALSE(IsWindowVisible(main));
    RECT r;
    GetWindowRect(search, &r);
    EXPECT_EQ(r.right - r.left, 630);
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 23 * 10 + 80);
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(Word(row), words[static_cast<std::size_t>(row)].word);
        EXPECT_EQ(Translation(row), words[static_cast<std::size_t>(row)].translation);
    }
    Settle();
    SaveScreenshot("search-window");
    CloseSearch();
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(SearchTest, TypingEnterUpAndDown) {
    const std::size_t n = words.size();
    Type(words[100].word);
    EXPECT_EQ(Word(0), words[100].word);
    Type("zzzzzz");  // after every word: the last full page
    EXPECT_EQ(Word(0), words[n - 10].word);
    EXPECT_EQ(Word(9), words[n - 1].word);
    Key(field, VK_RETURN);
    EXPECT_EQ(WindowText(field), "");
    EXPECT_EQ(Word(0), words[0].word);
    Key(field, VK_UP);
    EXPECT_EQ(Word(0), words[0].word);
    Key(field, VK_DOWN);
    Key(field, VK_DOWN);
    Key(field, VK_DOWN);
    EXPECT_EQ(Word(0), words[3].word);
    Key(field, VK_UP);
    EXPECT_EQ(Word(0), words[2].word);
}

TEST_F(SearchTest, ScrollingByTensAndPages) {
    const int n = static_cast<int>(words.size());
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(Word(0), words[10].word);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(Word(0), words[11].word);
    Scroll(SB_PAGEUP);
    EXPECT_EQ(Word(0), words[1].word);
    Scroll(SB_THUMBPOSITION, 2);
    EXPECT_EQ(Word(0), words[20].word);
    Scroll(SB_THUMBTRACK, 7);  // nothing until the thumb is released
    EXPECT_EQ(Word(0), words[20].word);
    Scroll(SB_THUMBPOSITION, static_cast<WORD>(n / 10));
    EXPECT_EQ(Word(0), words[static_cast<std::size_t>(n - 10)].word);
    EXPECT_EQ(GetScrollPos(GetDlgItem(search, 41), SB_CTL), (n - 10) / 10);
}

// A file left out of order on purpose shows whether closing sorted it.
TEST(SearchEdits, TranslationEditsStayInPlaceWithoutASort) {
    ResetSettings();
    Fixture fixture;
    std::vector<WordRecord> words = Records(fixture, "dut_eng.gk");
    std::swap(words[5], words[6]);
    fixture.Write("wordlists\\dut_eng.gk",
                  std::string(reinterpret_cast<const char*>(words.data()), words.size() * sizeof(WordRecord)));
    Program program(fixture);
    HWND main = nullptr;
    HWND search = OpenSearch(program, main);
    ASSERT_NE(search, nullptr);
    HWND translation = GetDlgItem(search, 153);
    SendMessageA(translation, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed, too"));
    SendMessageA(translation, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(search, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(search); ++i) Settle(25);
    std::vector<WordRecord> after = Records(fixture, "dut_eng.gk");
    ASSERT_EQ(after.size(), words.size());
    EXPECT_STREQ(after[3].translation, "changed, too");
    EXPECT_STREQ(after[5].word, words[5].word);  // still out of order: no sort ran
    EXPECT_STREQ(after[6].word, words[6].word);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

TEST_F(SearchTest, WordEditsAndDeletionsAreSortedAtClosing) {
    const std::size_t n = words.size();
    HWND word0 = GetDlgItem(search, 100);
    SendMessageA(word0, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("zzz last word"));
    Key(word0, VK_RETURN);
    EXPECT_EQ(Word(0), "zzz last word");  // it keeps its place until the window closes
    CellMenu(GetDlgItem(search, 151), 0);  // delete the record in row 1
    EXPECT_EQ(Word(1), "(deleted)");
    EXPECT_EQ(Translation(1), "(deleted)");
    CloseSearch();
    std::vector<WordRecord> after = Records(fixture, "dut_eng.gk");
    ASSERT_EQ(after.size(), n - 1);
    EXPECT_STREQ(after.back().word, "zzz last word");
    EXPECT_STREQ(after[0].word, words[2].word);
}

TEST_F(SearchTest, RefusedEditsPutTheStoredTextBack) {
    HWND word2 = GetDlgItem(search, 102);
    SendMessageA(word2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    Key(word2, VK_RETURN);
    EXPECT_EQ(Word(2), words[2].word);
    // A deleted record takes no edits, and restoring it brings its texts back.
    CellMenu(GetDlgItem(search, 102), 0);
    EXPECT_EQ(Word(2), "(deleted)");
    SendMessageA(word2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("new"));
    Key(word2, VK_RETURN);
    EXPECT_EQ(Word(2), "(deleted)");
    CellMenu(GetDlgItem(search, 152), 0);
    EXPECT_EQ(Word(2), words[2].word);
    EXPECT_EQ(Translation(2), words[2].translation);
    CloseSearch();
    EXPECT_EQ(Records(fixture, "dut_eng.gk").size(), words.size());
}

TEST_F(SearchTest, SizesRebuildInPlaceAndCompactTypesBlind) {
    RECT before;
    GetWindowRect(search, &before);
    HWND word0 = GetDlgItem(search, 100);
    SendMessageA(word0, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("zzz pending"));
    Key(word0, VK_RETURN);  // a sort is now pending
    PostMessageA(search, WM_COMMAND, 625, 0);
    for (int i = 0; i < 100 && IsWindow(search); ++i) Settle(20);
    search = program->WaitForWindow("zoeken");
    ASSERT_NE(search, nullptr);
    field = GetDlgItem(search, 30);
    RECT after;
    GetWindowRect(search, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom - after.top, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 23 * 25 + 80);
    EXPECT_NE(GetDlgItem(search, 124), nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    Settle();
    SaveScreenshot("search-window-25-rows");

    PostMessageA(search, WM_COMMAND, 600, 0);
    for (int i = 0; i < 100 && IsWindow(search); ++i) Settle(20);
    search = program->WaitForWindow("zoeken");
    ASSERT_NE(search, nullptr);
    field = GetDlgItem(search, 30);
    GetWindowRect(search, &after);
    EXPECT_EQ(after.right - after.left, 500);
    EXPECT_FALSE(IsWindowVisible(field));
    EXPECT_EQ(GetDlgItem(search, 101), nullptr);
    Type(words[50].word);
    EXPECT_EQ(Word(0), words[50].word);
    Settle();
    SaveScreenshot("search-window-compact");
    CloseSearch();
    EXPECT_STREQ(Records(fixture, "dut_eng.gk").back().word, "zzz pending");  // the rebuilt window sorted
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program->WaitForExit(), 0);
    EXPECT_EQ(SettingNumber("searchwindowminimal", -1), 1);
}

TEST_F(SearchTest, PairSwitchSortsTheOldPairFirst) {
    HWND word0 = GetDlgItem(search, 100);
    SendMessageA(word0, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("zzz moved"));
    Key(word0, VK_RETURN);
    SendMessageA(search, WM_COMMAND, 201, 0);  // german into english
    EXPECT_STREQ(Records(fixture, "dut_eng.gk").back().word, "zzz moved");
    const std::vector<WordRecord> german = Records(fixture, "ger_eng.gk");
    EXPECT_EQ(Word(0), german[0].word);
    Type(german[77].word);
    EXPECT_EQ(Word(0), german[77].word);
    Settle();
    SaveScreenshot("search-window-german");
}

TEST(SearchClipboard, OpeningWithClipboardSearchOnStartsAtTheFirstRecord) {
    ResetSettings();
    WriteProfileStringA("Dictionary", "ClipSearch", "1");
    Fixture fixture;
    const std::vector<WordRecord> words = Records(fixture, "dut_eng.gk");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    std::memcpy(GlobalLock(block), "water", 6);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    Program program(fixture);
    HWND main = nullptr;
    HWND search = OpenSearch(program, main);
    ASSERT_NE(search, nullptr);
    Settle();
    EXPECT_EQ(WindowText(GetDlgItem(search, 30)), "");
    EXPECT_EQ(WindowText(GetDlgItem(search, 100)), words[0].word);
    PostMessageA(search, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(search); ++i) Settle(25);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_EQ(SettingNumber("ClipSearch", -1), 1);
}

TEST_F(SearchTest, ClipboardSearchOnlyWhileAnotherWindowIsActive) {
    SendMessageA(search, WM_COMMAND, 56, 0);
    auto copy = [](const std::string& text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    };
    SetForegroundWindow(search);
    Settle();
    copy(words[120].word);
    Settle();
    EXPECT_EQ(Word(0), words[0].word);  // the search window is active: no search

    // Another program's window in front, the search window minimized.
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(search, SW_MINIMIZE);
    SetForegroundWindow(other);
    Settle();
    copy(words[120].word);
    for (int i = 0; i < 50 && Word(0) != words[120].word; ++i) Settle(50);
    EXPECT_EQ(Word(0), words[120].word);
    EXPECT_EQ(WindowText(field), words[120].word);
    EXPECT_FALSE(IsIconic(search));
    DestroyWindow(other);
    SendMessageA(search, WM_COMMAND, 57, 0);
}

TEST_F(SearchTest, PaletteTypesIntoTheSearchField) {
    fixture.Remove("charset\\dutch.chs");
    SendMessageA(search, WM_COMMAND, 6, 0);
    HWND palette = program->WaitForWindow("tekenset");
    ASSERT_NE(palette, nullptr);
    RECT r, owner;
    GetWindowRect(palette, &r);
    GetWindowRect(search, &owner);
    EXPECT_EQ(r.right - r.left, 632);  // no palette file: the 66 built-in characters
    EXPECT_EQ(r.left, std::max(0L, owner.left + (owner.right - owner.left - 632) / 2));
    EXPECT_EQ(r.top, std::max(0L, owner.top - 70));
    HWND first = GetDlgItem(palette, 0), last = GetDlgItem(palette, 65);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(WindowText(first), "\xC0");
    SendMessageA(first, BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(palette, 33), BM_CLICK, 0, 0);  // small a grave
    EXPECT_EQ(WindowText(field), "\xC0\xE0");
    Settle();
    SaveScreenshot("search-window-palette");
    SendMessageA(search, WM_COMMAND, 7, 0);
    EXPECT_FALSE(IsWindow(palette));
}

// Keystroke to filled rows on a word file of 500,000 records, through the window.
TEST(SearchSpeed, KeystrokesOnHalfAMillionRecords) {
    ResetSettings();
    Fixture fixture;
    constexpr int kRecords = 500000;
    std::string bytes(kRecords * sizeof(WordRecord), '\0');
    for (int i = 0; i < kRecords; ++i) {
        WordRecord r{};
        char word[16];
        std::snprintf(word, sizeof word, "w%07d", i * 2);
        SetWord(r, word);
        SetTranslation(r, "translation");
        std::memcpy(bytes.data() + static_cast<std::size_t>(i) * sizeof r, &r, sizeof r);
    }
    fixture.Write("wordlists\\dut_eng.gk", bytes);
    Program program(fixture);
    HWND main = nullptr;
    HWND search = OpenSearch(program, main);
    ASSERT_NE(search, nullptr);
    HWND field = GetDlgItem(search, 30);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("w0000001"));  // the first paint is not a keystroke
    Settle(500);
    std::vector<double> times;
    const int keys = 300;
    for (int k = 0; k < keys; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "w%07d", (k * 7919 * 13) % (2 * kRecords));
        QueryPerformanceCounter(&start);
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double t : times) total += t;
    std::printf("keystroke to rows, 500000 records: mean %.2f ms, median %.2f ms, worst %.2f ms over %d keystrokes\n",
                total / keys, times[keys / 2], times.back(), keys);
    // Under Wine nearly all of it is its edit controls taking the twenty new texts; a search
    // that read more than its few records would show here at once.
    EXPECT_LT(times[keys / 2], 40.0);
    PostMessageA(search, WM_CLOSE, 0, 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

TEST_F(SearchTest, GreekWordsShowAsGreek) {
    SendMessageA(search, WM_COMMAND, 204, 0);  // Modern Greek into english
    auto wide = [](HWND hwnd) {
        wchar_t text[128] = L"";
        SendMessageW(hwnd, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    EXPECT_EQ(wide(GetDlgItem(search, 100)), L"\x03b1\x03b3\x03ac\x03c0\x03b7");  // the first word, in Greek letters
    SendMessageA(search, WM_COMMAND, 6, 0);
    HWND palette = program->WaitForWindow("tekenset");
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(wide(GetDlgItem(palette, 0)), L"\x03b1");  // from the language's palette file
    SendMessageA(GetDlgItem(palette, 0), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(palette, 1), BM_CLICK, 0, 0);
    EXPECT_EQ(wide(field), L"\x03b1\x03b2");
    Settle();
    SaveScreenshot("search-window-greek");
}
