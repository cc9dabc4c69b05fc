// The main window's menus and commands, worked in-process by sending it messages.

#include <windows.h>

#include <commctrl.h>

#include "core/review/review_log.h"
#include "core/review/scheduler.h"
#include "ui/main_window.h"
#include "ui/review_window.h"
#include "ui/ui_support.h"

namespace {

bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

class MainWindowTest : public UiTest {
protected:
    void SetUp() override {
        // A language name typed under a Western interface, for a pair in the Central European set.
        Start("[languages]\ngerman\ntch\xE8que,czech,238\nlongname,greek,161,Modern Greek\n\n[selected]\nger_dut.gk\n",
              {{"AddLetterMissing", "no place for %s"}});
        menu = GetMenu(MainWindow);
    }
    HMENU menu = nullptr;
};

// Opens the add window on german into dutch (both Western) and confirms an entry typed in it.
HWND OpenAddWindow() {
    SendMessageW(MainWindow, WM_COMMAND, 10, 0);
    return FindWindowA("toevoeg", nullptr);
}
void Confirm(HWND add, const wchar_t* word, const wchar_t* translation) {
    SetDlgItemTextW(add, 30, word);
    SetDlgItemTextW(add, 31, translation);
    SendDlgItemMessageW(add, 31, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

// Language names read in the interface's character set, whatever the pair's own. The
// current pair and practice mode are marked as the menus are made, before they are ever
// opened; a pair switch, or either flag of the main window, moves the pair's check mark.
TEST_F(MainWindowTest, TheMenusMarkThePairAndStayOnTop) {
    EXPECT_EQ(
        MenuItems(GetSubMenu(menu, 1)),
        (std::vector<std::wstring>{L"german\tdutch 200*", L"tch\u00E8que\tdutch 201", L"Modern Greek\tdutch 202", L"-",
                                   L"dutch\tgerman 203", L"dutch\ttch\u00E8que 204", L"dutch\tModern Greek 205"}));
    EXPECT_EQ(GetMenuState(GetSubMenu(menu, 2), 0, MF_BYPOSITION) & (MFT_RADIOCHECK | MF_CHECKED),
              MFT_RADIOCHECK | MF_CHECKED);
    EXPECT_EQ(CheckedPairCommand, 200);

    SendMessageA(MainWindow, WM_COMMAND, 205, 0);
    EXPECT_EQ(CurrentPair, PairAt(5));
    EXPECT_TRUE(Checked(menu, 205));
    EXPECT_FALSE(Checked(menu, 200));
    // Either flag turns the pair round; a click beside them does nothing.
    SendMessageA(MainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(92, 120));
    EXPECT_EQ(CurrentPair, PairAt(5));
    SendMessageA(MainWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(91, 138));
    EXPECT_EQ(CurrentPair, PairAt(2));
    EXPECT_TRUE(Checked(menu, 202));
    EXPECT_FALSE(Checked(menu, 205));
    EXPECT_NE(ReadFile("cat.ini").find("[selected]\nModern Greek_dutch.gk\n"), std::string::npos);
    // The current pair again: the whole switch runs once more, so the store sees a grown file.
    WriteRecords("words/Modern Greek_dutch.gk", {Record("a"), Record("b")});
    SendMessageA(MainWindow, WM_COMMAND, 202, 0);
    EXPECT_TRUE(Checked(menu, 202));
    EXPECT_EQ(WordCount, 2);

    for (int on : {1, 0}) {
        SendMessageA(MainWindow, WM_COMMAND, 55, 0);
        EXPECT_EQ(Checked(menu, 55), on == 1);
        EXPECT_EQ((GetWindowLongA(MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, on == 1);
        EXPECT_EQ(Settings.StayOnTop, on);
    }
}

// Flash, interactive and review are one group of choices. The chosen mode keeps its dot when
// the menu opens, whether it was chosen now or read from the settings at start-up: opening
// the menu rewrites the review item's text (its counts).
TEST_F(MainWindowTest, ChosenPracticeModeKeepsItsDotWhenTheMenuOpens) {
    const UINT ids[] = {64, 65, 3001};
    for (bool restarted : {false, true})
        for (int mode : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (restarted ? " after a restart" : " chosen"));
            if (restarted) {
                Settings.PracticeMode = mode;
                DestroyMenu(GetMenu(MainWindow));
                AttachMainMenus(MainWindow);
                menu = GetMenu(MainWindow);
            } else {
                SendMessageA(MainWindow, WM_COMMAND, ids[mode], 0);
                EXPECT_EQ(Settings.PracticeMode, mode);
            }
            HMENU modes = GetSubMenu(menu, 2);
            SendMessageA(MainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(modes), MAKELPARAM(2, FALSE));
            // A choice that has been dotted may keep its radio type; only its check goes.
            for (int other = 0; other < 3; ++other) {
                const UINT state = GetMenuState(modes, ids[other], MF_BYCOMMAND);
                EXPECT_EQ(state & (other == mode ? MFT_RADIOCHECK | MF_CHECKED : MF_CHECKED),
                          other == mode ? MFT_RADIOCHECK | MF_CHECKED : 0u)
                    << other;
            }
            EXPECT_EQ(MenuItems(modes)[2], ReviewMenuText() + (mode == 2 ? L" 3001*" : L" 3001"));
        }
}

// The counts come from the files alone (the store's rule): the store stays on its pair, no
// file is made (the practice list gains no list files), and a missing file shows as such.
// While it is open no other secondary window opens, and the main window is hidden.
TEST_F(MainWindowTest, InformationWindowCountsFromTheFilesAndTouchesNone) {
    CreateDirectoryA("lists", nullptr);
    CreateDirectoryA("lists\\week1", nullptr);
    Settings.PracticeList = "week1";
    DeleteFileA("words/dutch_Modern Greek.gk");
    const std::map<std::string, std::string> before = FilesHere();
    ShowWindow(MainWindow, SW_SHOW);
    SendMessageA(MainWindow, WM_COMMAND, 63, 0);
    HWND info = FindWindowA("info", nullptr);
    HWND list = FindWindowExA(info, nullptr, "SysListView32", nullptr);
    char cell[64] = "";
    ListView_GetItemText(list, 5, 1, cell, sizeof cell);
    EXPECT_STREQ(cell, "(word file missing)");
    EXPECT_EQ(FilesHere(), before);
    EXPECT_EQ(CurrentPair, PairAt(0));
    EXPECT_FALSE(IsWindowVisible(MainWindow));
    SendMessageA(MainWindow, WM_COMMAND, 63, 0);
    EXPECT_EQ(FindWindowA("info", nullptr), info);  // a second one would stand in front
    DestroyWindow(info);
    EXPECT_EQ(SecondaryWindowOpen, 0);
    EXPECT_TRUE(IsWindowVisible(MainWindow));
}

// A letter the pair's code page lacks is refused by name, in either field, and nothing is
// stored; one that has a place there is stored as typed. A translation the reverse pair
// cannot take is said on the status line, until the next key.
TEST_F(MainWindowTest, AddWindowSaysWhatThePairsCannotHold) {
    HWND add = OpenAddWindow();
    const struct {
        const wchar_t *word, *translation, *message;
    } cases[] = {{L"\u0142\u00F3d\u017A", L"stad", L"no place for \u0142"},  // best fit would store "lodz"
                 {L"city", L"\u03C0\u03CC\u03BB\u03B7", L"no place for \u03C0"}};
    for (const auto& c : cases)
        EXPECT_EQ(BoxesShownWhile([&] { Confirm(add, c.word, c.translation); }).at(0).text, c.message);
    EXPECT_EQ(WideText(GetDlgItem(add, 30)), L"city");  // kept for the user to mend
    EXPECT_EQ(ReadFile("words/ger_dut.gk"), "");
    Confirm(add, L"caf\u00E9", L"caf\u00E9");
    EXPECT_STREQ(ReadRecords("words/ger_dut.gk").at(0).word, "caf\xE9");

    HWND status = GetDlgItem(add, IDC_ADD_STATUS);
    const std::wstring longPiece(31, L'x');
    Confirm(add, L"Baum", (L"boom, " + longPiece).c_str());
    EXPECT_EQ(ReadRecords("words/dut_ger.gk").size(), 2u);  // caf\u00E9 and boom
    EXPECT_TRUE(IsWindowVisible(status));
    EXPECT_NE(WideText(status).find(L"\"" + longPiece + L"\""), std::wstring::npos) << WideText(status);
    SendDlgItemMessageW(add, IDC_ADD_WORD, WM_KEYUP, 'A', 0);
    EXPECT_FALSE(IsWindowVisible(status));
    DestroyWindow(add);
}

// The comma warning comes once for each comma typed, not at every key after it (the keys
// typed while it shows would be lost), and again when the word is accepted with it.
TEST_F(MainWindowTest, AddWindowWarnsOnceForEachCommaTyped) {
    HWND add = OpenAddWindow();
    HWND word = GetDlgItem(add, 30);
    const std::vector<ShownBox> boxes = BoxesShownWhile([&] {
        for (const wchar_t* typed : {L"a,", L"a,b", L"a,bc", L"abc", L"ab,c", L"ab,cd"}) {
            SetWindowTextW(word, typed);
            SendMessageW(word, WM_KEYUP, 'C', 0);
        }
        SendMessageW(word, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(boxes.size(), 3u);  // the first comma, the one typed again, and Enter
    EXPECT_EQ(WideText(word), L"ab,cd");
    DestroyWindow(add);
}

// Closing the window with an entry typed but not confirmed asks first: Cancel keeps the
// window, No drops the entry, Yes stores it. A word only looked up is no entry.
TEST_F(MainWindowTest, ClosingTheAddWindowAsksForAnEntryNotConfirmed) {
    const struct {
        int answer;
        bool open;
        std::size_t stored;
    } cases[] = {{IDCANCEL, true, 0}, {IDNO, false, 0}, {IDYES, false, 1}};
    for (const auto& c : cases) {
        HWND add = OpenAddWindow();
        SetDlgItemTextW(add, 30, L"Baum");
        SetDlgItemTextW(add, 31, L"boom");
        const std::vector<ShownBox> boxes =
            BoxesShownWhile([&] { SendMessageW(add, WM_COMMAND, IDC_ADD_DONE, 0); }, c.answer);
        EXPECT_EQ(boxes.size(), 1u) << c.answer;
        EXPECT_EQ(IsWindow(add) != FALSE, c.open) << c.answer;
        EXPECT_EQ(ReadRecords("words/ger_dut.gk").size(), c.stored) << c.answer;
        if (IsWindow(add)) DestroyWindow(add);
    }
    HWND add = OpenAddWindow();  // "Baum" is stored now: typing it previews its translation
    HWND word = GetDlgItem(add, 30);
    SetWindowTextW(word, L"Baum");
    SendMessageW(word, WM_KEYUP, 'M', 0);
    EXPECT_EQ(WideText(GetDlgItem(add, 31)), L"boom");
    EXPECT_TRUE(BoxesShownWhile([&] { SendMessageW(add, WM_COMMAND, IDC_ADD_DONE, 0); }).empty());
    EXPECT_FALSE(IsWindow(add));
}

// Where the learner starts, the main window says how many words are due, each time it is
// shown again; none due, it says nothing.
TEST_F(MainWindowTest, TheWordsToReviewStandOverThePracticeButton) {
    WriteRecords("words/ger_dut.gk", {Record("Baum", "boom"), Record("Haus", "huis")});
    ReopenStore();
    HWND label = GetDlgItem(MainWindow, IDC_MAIN_DUE);
    const std::int64_t monthAgo = ReviewClock() - 30 * review::kDayMs;
    std::string log;
    for (auto [words, shown] : {std::pair{0, L""}, {1, L"1 word to review"}, {2, L"2 words to review"}}) {
        if (words > 0) log += review::LogLine({monthAgo, words == 1 ? "Baum" : "Haus", 3, 0});
        WriteFile("words/ger_dut.revlog", log);
        ShowWindow(MainWindow, SW_HIDE);
        ShowWindow(MainWindow, SW_SHOW);
        EXPECT_EQ(IsWindowVisible(label) != FALSE, words > 0) << words;
        EXPECT_EQ(words > 0 ? WideText(label) : L"", shown);
    }
}

// While a closing sort fails and says so, the add window takes no entry.
TEST_F(MainWindowTest, AddWindowStaysDisabledWhileTheClosingSortFails) {
    HWND add = OpenAddWindow();
    Confirm(add, L"Haus", L"huis");
    bool enabled = true;
    FailingFileStep failing(1);  // the reverse file's sorted copy
    WhileModal(
        [&] {
            enabled = IsWindowEnabled(add);
            PostMessageW(FindWindowA("#32770", nullptr), WM_COMMAND, IDOK, 0);
        },
        [&] { SendMessageW(add, WM_COMMAND, 14, 0); });
    EXPECT_FALSE(enabled);
    EXPECT_FALSE(IsWindow(add));
}

// Windows ending the session closes the open window as the user would: its sorts run first.
TEST_F(MainWindowTest, SessionEndRunsTheClosingSorts) {
    HWND add = OpenAddWindow();
    for (const wchar_t* word : {L"Zug", L"Apfel"}) Confirm(add, word, L"x");
    EXPECT_EQ(SendMessageW(MainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(MainWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(IsWindow(add));
    EXPECT_STREQ(ReadRecords("words/ger_dut.gk").at(0).word, "Apfel");
}
