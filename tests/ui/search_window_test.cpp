// The search window's cell menus, worked in-process: the play item follows the sound
// files present.

#include <gtest/gtest.h>

#include "ui/search_window.h"
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

UINT playState;

// Runs inside the menu's own loop: reads the play item of the open pop-up, then ends it.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND popup = FindWindowA("#32768", nullptr);
    HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
    playState = menu ? GetMenuState(menu, 58, MF_BYCOMMAND) : 0xFFFFFFFF;
    EndMenu();
}

UINT PlayItemOf(HWND cell) {
    playState = 0xFFFFFFFF;
    SetTimer(nullptr, 0, 100, ReadOpenMenu);
    SendMessageA(cell, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_NE(playState, 0xFFFFFFFFu) << "the pop-up menu was not seen";
    return playState;
}

}  // namespace

TEST(SearchWindowMenus, PlayItemOnlyWhenASoundExists) {
    WorkDir dir;
    UseStrings();
    ResetWinIni();
    Settings = SettingsValues{};
    WriteFile("cat.ini", "[languages]\nenglish\n");
    WriteRecords("words/eng_dut.gk", {Record("house", "huis, woning"), Record("tree", "boom")});
    WriteRecords("words/dut_eng.gk", {});
    WriteFile("sound/english/house.wav", "RIFF");
    WriteFile("sound/dutch/woning.wav", "RIFF");
    ASSERT_EQ(BuildCatalogue(), 0);
    CurrentPair = PairAt(0);
    OpenStore();
    CountRecords();
    ASSERT_NE(CreateTestMainWindow(), nullptr);
    SecondaryWindowOpen = 1;
    HWND search = OpenSearchWindow();
    ASSERT_NE(search, nullptr);

    EXPECT_EQ(PlayItemOf(GetDlgItem(search, 100)) & MF_GRAYED, 0u);  // house.wav
    EXPECT_EQ(PlayItemOf(GetDlgItem(search, 150)) & MF_GRAYED, 0u);  // the second piece has one
    EXPECT_NE(PlayItemOf(GetDlgItem(search, 101)) & MF_GRAYED, 0u);  // no tree.wav
    EXPECT_NE(PlayItemOf(GetDlgItem(search, 151)) & MF_GRAYED, 0u);  // no boom.wav
    EXPECT_NE(PlayItemOf(GetDlgItem(search, 102)) & MF_GRAYED, 0u);  // an empty row

    DestroyWindow(search);
    EXPECT_EQ(SecondaryWindowOpen, 0);
    DestroyTestMainWindow();
}
