// The search window worked in-process: the deleted mark, the layouts, the
// compact layout's row, which is edited only on request, and the base form of a word.

#include "ui/search_window.h"

#include <uxtheme.h>
#include <windowsx.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "ui/clipboard.h"
#include "ui/ui_support.h"

namespace {

// The pair english into dutch over `records`, with its search window open.
class SearchWindowTest : public UiTest {
protected:
    void Open(const std::vector<WordRecord>& records, int rows = 10, bool compact = false) {
        StartEnglish(records, {{"CreateListDeleted", "(gone)"}});
        Settings.searchwindowsize = rows;
        Settings.searchwindowminimal = compact ? 1 : 0;
        ASSERT_NE(search = OpenWindow(OpenSearchWindow), nullptr);
    }
    void OpenCompact(const std::vector<WordRecord>& records) { Open(records, 10, true); }
    std::wstring Cell(int id) { return WideText(GetDlgItem(search, id)); }
    HWND search = nullptr;
};

bool Checked(HWND window, int id) { return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

// The pixels a window's client area shows now.
std::vector<std::uint32_t> Shown(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    Canvas canvas(r.right, r.bottom);
    BitBlt(canvas.dc(), 0, 0, r.right, r.bottom, WindowDc(window), 0, 0, SRCCOPY);
    return canvas.Pixels();
}

// Whether a window shows what it paints when it is asked to paint itself afresh.
bool ShowsWhatItPaints(HWND window) {
    const std::vector<std::uint32_t> shown = Shown(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return shown == Shown(window);
}

// Keys as the keyboard delivers them, each to the field that has the focus when it comes:
// "\r" is Enter, "\x1b" Escape and "\x71" F2 (a key without a character).
void Press(const std::wstring& keys) {
    for (wchar_t key : keys) {
        const WPARAM vk = key == L'\r'  ? VK_RETURN
                          : key == 0x1b ? VK_ESCAPE
                          : key == 0x71 ? VK_F2
                                        : VkKeyScanW(key) & 0xFF;
        SendMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
        if (vk != VK_F2) SendMessageW(GetFocus(), WM_CHAR, key, 1);
        SendMessageW(GetFocus(), WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
    }
}

// The left button at a control's top-left corner: once, or twice as a double-click.
void Click(HWND control, bool twice = false) {
    const LPARAM at = MAKELPARAM(5, 5);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
    if (!twice) return;
    SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

// The colour a field shows near its right end, past any short text, as it paints itself now.
std::uint32_t Backdrop(HWND field) {
    RedrawWindow(field, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r;
    GetClientRect(field, &r);
    return Shown(field)[static_cast<std::size_t>(r.bottom / 2 * r.right + r.right - 4)];
}

}  // namespace

// With a search field on show, a click on a row edits it there and then.
TEST_F(SearchWindowTest, AClickOnARowOfTheNormalLayoutGivesItTheKeys) {
    Open({Record("'s avonds", "in the evening"), Record("kat", "cat")}, 3);
    for (int clicked : {100, 151}) {
        Click(GetDlgItem(search, clicked));
        EXPECT_EQ(GetFocus(), GetDlgItem(search, clicked)) << clicked;
    }
}

// How the compact row is asked to take keys, or clicked once, which asks nothing; what is
// typed, and what the word file holds after.
enum class RowStart { Click, DoubleClick, F2 };
struct CompactEdit {
    const char* name;
    int cell;
    RowStart start;
    const wchar_t* keys;
    const char *word, *translation;
};

class CompactRowEditing : public SearchWindowTest, public testing::WithParamInterface<CompactEdit> {};

// The row takes keys only once asked to, and looks other while it does; Enter stores what
// was typed, Escape leaves the record and the row as they were. Either way the typing goes
// back to the search. A single click asks nothing: what is typed then is looked up, and
// Enter starts the search again, renaming nothing.
TEST_P(CompactRowEditing, StartsOnRequestAndShowsIt) {
    const CompactEdit& edit = GetParam();
    OpenCompact({Record("'s avonds", "in the evening"), Record("kat", "cat")});
    HWND field = GetDlgItem(search, 30), cell = GetDlgItem(search, edit.cell);
    const std::uint32_t idle = Backdrop(cell);
    if (edit.start == RowStart::F2)
        Press(L"\x71");
    else
        Click(cell, edit.start == RowStart::DoubleClick);
    const bool asked = edit.start != RowStart::Click;
    EXPECT_EQ(GetFocus(), asked ? cell : field);
    EXPECT_EQ(Backdrop(cell) != idle, asked);
    Press(edit.keys);
    EXPECT_EQ(GetFocus(), field);
    EXPECT_EQ(Backdrop(cell), idle);
    const std::vector<WordRecord> stored = ReadRecords("words/eng_dut.gk");
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_STREQ(stored[0].word, edit.word);
    EXPECT_STREQ(stored[0].translation, edit.translation);
    EXPECT_EQ(Cell(100) + L"=" + Cell(150),
              WideFromCharset(edit.word, 0) + L"=" + WideFromCharset(edit.translation, 0));
    Press(L"z");
    EXPECT_EQ(Cell(30), L"z");
}

INSTANTIATE_TEST_SUITE_P(
    SearchWindowTest, CompactRowEditing,
    testing::Values(
        CompactEdit{"WordClickedOnce", 100, RowStart::Click, L"kat\r", "'s avonds", "in the evening"},
        CompactEdit{"TranslationClickedOnce", 150, RowStart::Click, L"kat\r", "'s avonds", "in the evening"},
        CompactEdit{"WordDoubleClickedThenEnter", 100, RowStart::DoubleClick, L"kat\r", "kat", "in the evening"},
        CompactEdit{"TranslationDoubleClickedThenEnter", 150, RowStart::DoubleClick, L"evening\r", "'s avonds",
                    "evening"},
        CompactEdit{"F2ThenEnter", 100, RowStart::F2, L"kat\r", "kat", "in the evening"},
        CompactEdit{"F2ThenEscape", 100, RowStart::F2, L"kat\x1b", "'s avonds", "in the evening"},
        CompactEdit{"TranslationDoubleClickedThenEscape", 150, RowStart::DoubleClick, L"cat\x1b", "'s avonds",
                    "in the evening"}),
    [](const testing::TestParamInfo<CompactEdit>& param) { return std::string(param.param.name); });

TEST_F(SearchWindowTest, AnyDeletedMarkShowsAsDeletedAndTakesNoEdits) {
    Open({Record("apple", "appel"), Record("pear", "peer", 2), Record("plum", "pruim", -1)});
    EXPECT_EQ(Cell(101) + Cell(151) + Cell(102) + Cell(152), L"(gone)(gone)(gone)(gone)");
    SetWindowTextW(GetDlgItem(search, 101), L"changed");
    SendMessageW(GetDlgItem(search, 101), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Cell(101), L"(gone)");
    EXPECT_STREQ(ReadRecords("words/eng_dut.gk")[1].word, "pear");

    // A translation stored alone leaves the order as it was; a changed word, from either cell, does not.
    auto enter = [&](int typed, const wchar_t* text, int entered) {
        SetWindowTextW(GetDlgItem(search, typed), text);
        SendMessageW(GetDlgItem(search, entered), WM_KEYDOWN, VK_RETURN, 0);
        return ModifiedFlag;
    };
    EXPECT_EQ(enter(150, L"fruit", 150), 0);
    EXPECT_EQ(enter(100, L"apricot", 150), 1);
}

// The bar marks what is on: the palette hidden at first, the clipboard watched, the rows.
// The compact layout counts as no rows, and keeps the stored number for the normal one.
TEST_F(SearchWindowTest, TheBarMarksWhatIsOnAndTheCompactLayoutKeepsTheStoredRows) {
    StartEnglish({Record("apple", "appel")});
    Settings.ClipSearch = 1;
    Settings.searchwindowsize = 7;
    ASSERT_NE(search = OpenWindow(OpenSearchWindow), nullptr);
    const std::pair<int, bool> items[] = {{6, false}, {7, true}, {56, true}, {57, false}, {600, false}, {607, true}};
    for (auto [id, checked] : items) EXPECT_EQ(Checked(search, id), checked) << id;
    EXPECT_NE(GetDlgItem(search, 106), nullptr);
    SendMessageW(search, WM_COMMAND, 600, 0);  // the compact layout
    ASSERT_NE(search = secondary = FindWindowA("zoeken", nullptr), nullptr);
    EXPECT_EQ(GetDlgItem(search, 101), nullptr);
    EXPECT_TRUE(Checked(search, 600));  // it counts as no rows
    EXPECT_EQ(Settings.searchwindowminimal, 1);
    EXPECT_EQ(Settings.searchwindowsize, 7);
    SendMessageW(search, WM_COMMAND, 603, 0);
    search = secondary = FindWindowA("zoeken", nullptr);
    EXPECT_NE(GetDlgItem(search, 102), nullptr);
    EXPECT_TRUE(Checked(search, 603));
    EXPECT_EQ(Settings.searchwindowminimal, 0);
    EXPECT_EQ(Settings.searchwindowsize, 3);
}

// The rows set only the cells whose text changes (setting one resets its modified mark),
// so a cell typed into (and not stored) must still be set back when a page brings a
// record to it, although the text it shows is the one it showed before.
TEST_F(SearchWindowTest, APageSetsTheCellsThatShowSomethingElse) {
    Open({Record("apple", "tree"), Record("beech", "tree"), Record("cedar", "tree")}, 2);
    SetWindowTextW(GetDlgItem(search, 150), L"typed");
    Edit_SetModify(GetDlgItem(search, 151), TRUE);
    SetWindowTextW(GetDlgItem(search, 30), L"b");  // rows: beech, cedar
    EXPECT_EQ(Cell(100) + Cell(101) + Cell(150) + Cell(151), L"beechcedartreetree");
    EXPECT_TRUE(Edit_GetModify(GetDlgItem(search, 151)));
}

// Each key of a burst returns with its page shown and painted, the scroll bar with it; the
// cells look as they do when they paint themselves, the focused one too. The bar is drawn
// plainly and the cells' fonts name the screen's smoothing: under Wine a themed bar and a
// default-quality font cost dozens of blits and X resource lookups a page.
TEST_F(SearchWindowTest, EachKeyOfABurstReturnsWithItsPagePainted) {
    std::vector<WordRecord> records;
    for (int i = 100; i < 200; ++i) records.push_back(Record("w" + std::to_string(i), "t" + std::to_string(i - 9)));
    Open(records);
    HWND field = GetDlgItem(search, 30), bar = GetDlgItem(search, 41);
    EXPECT_EQ(GetWindowTheme(bar), nullptr);
    for (int id : {30, 100, 150}) {
        LOGFONTW font = {};
        GetObjectW(GetWindowFont(GetDlgItem(search, id)), sizeof font, &font);
        EXPECT_NE(font.lfQuality, DEFAULT_QUALITY) << id;
    }
    SetFocus(GetDlgItem(search, 151));
    RedrawWindow(search, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::tuple<wchar_t, std::wstring, int> keys[] = {{L'w', L"100", 0}, {L'1', L"100", 0},  {L'8', L"180", 8},
                                                           {L'3', L"183", 8}, {L'\b', L"180", 8}, {L'9', L"189", 8},
                                                           {L'9', L"190", 9}};
    for (const auto& [key, first, place] : keys) {
        SendMessageW(field, WM_CHAR, key, 1);
        EXPECT_EQ(Cell(100) + Cell(159), L"w" + first + L"t" + first) << WideText(field);  // the first and last rows
        EXPECT_EQ(GetScrollPos(bar, SB_CTL), place) << WideText(field);
        for (HWND painted : {bar, GetDlgItem(search, 100), GetDlgItem(search, 159), GetDlgItem(search, 151)})
            EXPECT_FALSE(GetUpdateRect(painted, nullptr, FALSE)) << WideText(field);
        for (int id : {100, 104, 159, 151})
            EXPECT_TRUE(ShowsWhatItPaints(GetDlgItem(search, id))) << id << " after " << WideText(field);
    }
}

namespace {

// The search window over go, house, mouse and zoo, one row (so each record can head it),
// with a small English dictionary.
class SearchBaseFormTest : public SearchWindowTest {
protected:
    void SetUp() override {
        WriteEnglishMorphology();
        Open({Record("go", "gaan"), Record("house", "huis"), Record("mouse", "muis"), Record("zoo", "dierentuin")}, 1);
        field = GetDlgItem(search, 30);
        label = GetDlgItem(search, 3081);
        ASSERT_NE(label, nullptr);
    }
    void Type(const std::wstring& text) {
        SetWindowTextW(field, L"");
        SetFocus(field);
        Press(text);
    }
    HWND field = nullptr, label = nullptr;
};

}  // namespace

// The rows stand where the typed text would, as ever; the label offers the base form only
// for one whole word the list lacks. Tab, or a click on the label, takes the offered form
// into the field, and the rows find it; without an offer either leaves the field as it was.
TEST_F(SearchBaseFormTest, TheLabelOffersTheBaseFormOfATypedWordTheListLacks) {
    const struct {
        const wchar_t* typed;
        const wchar_t* label;
        const wchar_t* firstRow;
        const wchar_t* taken;
    } cases[] = {
        {L"went", L"went \u2192 go   (Tab)", L"zoo", L"go"},
        {L"houses", L"houses \u2192 house   (Tab)", L"mouse", L"house"},
        {L"tree-houses", L"tree-houses \u2192 house (the last part of a compound)   (Tab)", L"zoo", L"house"},
        {L"house", L"", L"house", L"house"},  // in the list
        {L"went home", L"", L"zoo", L"went home"},
        {L"went!", L"", L"zoo", L"went!"},  // a copied word may have its mark, a typed text is the word
        {L"wen", L"", L"zoo", L"wen"},
    };
    for (const auto& c : cases)
        for (bool byTab : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.typed << (byTab ? " and Tab" : " and a click"));
            Type(c.typed);
            EXPECT_EQ(WideText(label), c.label);
            EXPECT_EQ(Cell(100), c.firstRow);
            if (byTab)
                Press(L"\t");
            else
                Click(label);
            EXPECT_EQ(WideText(field), c.taken);
            EXPECT_EQ(Cell(100), *c.label ? c.taken : c.firstRow);
            EXPECT_EQ(WideText(label), L"");
            EXPECT_EQ(GetFocus(), field);
        }
}

// A copied word the list lacks shows its base form's record and the label, and its text
// stays in the field as it came.
TEST_F(SearchBaseFormTest, ACopiedWordShowsItsBaseFormsRecord) {
    SendMessageW(search, WM_COMMAND, 56, 0);  // clipboard search on
    HWND other = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    ASSERT_NE(GetActiveWindow(), search);
    const struct {
        const wchar_t* copied;
        const wchar_t* label;
        const wchar_t* firstRow;
    } cases[] = {
        {L"houses, ", L"houses \u2192 house", L"house"},
        {L"went", L"went \u2192 go", L"go"},
        {L"mouse", L"", L"mouse"},
        {L"went home", L"", L"zoo"},
    };
    for (const auto& c : cases) {
        PutClipboardText(other, c.copied);
        EXPECT_TRUE(PumpUntil([&] { return WideText(field) == c.copied; })) << c.copied;
        EXPECT_EQ(WideText(label), c.label) << c.copied;
        EXPECT_EQ(Cell(100), c.firstRow) << c.copied;
    }
    DestroyWindow(other);
}
