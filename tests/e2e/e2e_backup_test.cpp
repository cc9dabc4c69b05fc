// End-to-end test of the backups: made at start-up, put back through File > Restore from backup.

#include "driver.h"

namespace {

constexpr int kRestore = 3030, kBackupList = 3031, kFileList = 3032, kOk = 3033;

}  // namespace

TEST_F(EndToEnd, ADamagedWordFileIsPutBackThroughTheRestoreWindow) {
    const std::string whole = fixture.Read("wordlists\\dut_eng.gk");
    ASSERT_TRUE(Start());
    Close(main);
    // Damaged between two runs: the next start keeps the damaged file as a backup of its own.
    fixture.Write("wordlists\\dut_eng.gk", whole.substr(0, 100));
    ASSERT_TRUE(Start());
    const std::vector<std::string> backups = Backups(fixture);
    ASSERT_EQ(backups.size(), 2u);

    HWND restore = Open(main, kRestore, "herstel");
    HWND list = GetDlgItem(restore, kBackupList), files = GetDlgItem(restore, kFileList), ok = GetDlgItem(restore, kOk);
    ASSERT_EQ(ListBoxCount(list), 2);
    // Each says why it was made, and names its files by their pair.
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(ListBoxItem(list, i).find(texts.at("RestoreWhyStartup")), std::string::npos) << i;
    EXPECT_NE(ListBoxItem(list, 0).find("dutch - english: "), std::string::npos) << ListBoxItem(list, 0);
    // The newest is chosen first; it holds the files as they are, so there is nothing to put back.
    EXPECT_FALSE(IsWindowEnabled(ok));

    SendMessageA(list, LB_SETCURSEL, 1, 0);
    PostMessageA(restore, WM_COMMAND, MAKEWPARAM(kBackupList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok); }));
    EXPECT_EQ(ListBoxCount(files), 1);
    SaveScreenshot("restore-window", restore);

    PostMessageA(restore, WM_COMMAND, kOk, 0);
    EXPECT_EQ(Answer(), "The files have been restored from backup " + backups[1] + ".");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(restore) && IsWindowVisible(main); }));
    EXPECT_EQ(fixture.Read("wordlists\\dut_eng.gk"), whole);
    EXPECT_EQ(fixture.Read("backups\\" + backups[0] + "\\wordlists\\dut_eng.gk"), whole.substr(0, 100))
        << "the damaged file is still there to look at";
    Close(main);
}
