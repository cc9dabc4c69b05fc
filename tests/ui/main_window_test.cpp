// The main window's menus and commands, worked in-process by sending it messages.

#include <gtest/gtest.h>

#include "resource.h"
#include "ui/app_state.h"
#include "core/settings/settings.h"
#include "core/catalogue/catalogue.h"
#include "core/store/store.h"
#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "test_support.h"
#include "ui/ui_support.h"

namespace {

bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

std::string Label(HMENU menu, int position) {
    char text[128] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        UseStrings({{"LanguageMenu", "&Word lists"}});
        ResetWinIni();
        WriteFile("cat.ini", "[languages]\ngerman\nfrench\nlongname,greek,161,Modern Greek\n\n[selected]\nger_dut.gk\n");
        for (const char* f : {"ger_dut.gk", "fre_dut.gk", "Modern Greek_dutch.gk", "dut_ger.gk", "dut_fre.gk",
                              "dutch_Modern Greek.gk"})
            WriteRecords(std::string("words/") + f, {});
        Settings = SettingsValues{};
        ASSERT_EQ(BuildCatalogue(), 0);
        ReadSelectedPair();
        OpenStore();
        CountRecords();
        ASSERT_NE(CreateTestMainWindow(), nullptr);
        menu = GetMenu(MainWindow);
    }
    void TearDown() override { DestroyTestMainWindow(); }
    WorkDir dir;
    HMENU menu = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, MenuBarAndLanguageMenu) {
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(Label(menu, 0), "MainMenuFile0 text");
    EXPECT_EQ(Label(menu, 1), "&Word lists");
    EXPECT_EQ(Label(menu, 2), "MainMenuPracticeMode0 text");
    EXPECT_EQ(Label(menu, 3), "MainMenuPracticeHelp0 text");
    HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(GetMenuItemID(file, 0), 55u);
    EXPECT_EQ(GetMenuItemID(file, 3), 3u);

    HMENU languages = GetSubMenu(menu, 1);
    ASSERT_EQ(GetMenuItemCount(languages), 7);
    const char* labels[] = {"german\tdutch", "french\tdutch", "Modern Greek\tdutch", nullptr,
                            "dutch\tgerman", "dutch\tfrench", "dutch\tModern Greek"};
    for (int i = 0; i < 7; ++i) {
        if (!labels[i]) {
            EXPECT_TRUE(GetMenuState(languages, 3, MF_BYPOSITION) & MF_SEPARATOR);
            continue;
        }
        EXPECT_EQ(Label(languages, i), labels[i]);
        EXPECT_EQ(GetMenuItemID(languages, i), static_cast<UINT>(200 + (i < 3 ? i : i - 1)));
    }
    EXPECT_TRUE(Checked(menu, 200));
    EXPECT_EQ(CheckedPairCommand, 200);
    EXPECT_TRUE(Checked(menu, 64));
    EXPECT_FALSE(Checked(menu, 65));
    EXPECT_FALSE(Checked(menu, 55));
}

TEST_F(MainWindowTest, PairSwitchMovesTheCheckMark) {
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
    // The current pair again: the whole switch runs once more.
    SendMessageA(MainWindow, WM_COMMAND, 202, 0);
    EXPECT_TRUE(Checked(menu, 202));
}

TEST_F(MainWindowTest, StayOnTopAndPracticeModeToggle) {
    SendMessageA(MainWindow, WM_COMMAND, 55, 0);
    EXPECT_TRUE(Checked(menu, 55));
    EXPECT_TRUE(GetWindowLongA(MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Settings.StayOnTop, 1);
    SendMessageA(MainWindow, WM_COMMAND, 55, 0);
    EXPECT_FALSE(Checked(menu, 55));
    EXPECT_FALSE(GetWindowLongA(MainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Settings.StayOnTop, 0);

    SendMessageA(MainWindow, WM_COMMAND, 65, 0);
    EXPECT_TRUE(Checked(menu, 65));
    EXPECT_FALSE(Checked(menu, 64));
    EXPECT_EQ(Settings.PracticeMode, 1);
    SendMessageA(MainWindow, WM_COMMAND, 64, 0);
    EXPECT_TRUE(Checked(menu, 64));
    EXPECT_EQ(Settings.PracticeMode, 0);
}

TEST_F(MainWindowTest, InformationWindowKeepsTheOneWindowContract) {
    SendMessageA(MainWindow, WM_COMMAND, 63, 0);
    HWND info = FindWindowA("info", nullptr);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(SecondaryWindowOpen, 1);
    EXPECT_FALSE(IsWindowVisible(MainWindow));
    SendMessageA(MainWindow, WM_COMMAND, 63, 0);  // refused while one is open
    EXPECT_EQ(FindWindowExA(nullptr, info, "info", nullptr), nullptr);
    EXPECT_EQ(CurrentPair, PairAt(0));
    DestroyWindow(info);
    EXPECT_EQ(SecondaryWindowOpen, 0);
    EXPECT_TRUE(IsWindowVisible(MainWindow));
}
