// End-to-end tests: the real program on a copy of the demo working directory.

#include <windows.h>

#include <vfw.h>

#include <algorithm>

#include "driver.h"

// The messages and the exit code are the core's; here one is shown in a box by the program.
TEST_F(EndToEnd, AStartupFailureShowsItsMessageAndExitsWithOne) {
    fixture.Remove("wordlists\\dut_eng.gk");
    program.emplace(fixture);
    EXPECT_EQ(Answer(IDOK, "Dictionary", "startup-failure"), "Can't open wordlists\\dut_eng.gk   \n\nProgram aborted");
    EXPECT_EQ(program->WaitForExit(), 1);
}

// Two starts at once: the one that comes second ends quietly, and neither touches the catalogue.
TEST_F(EndToEnd, SingleInstanceWithoutARace) {
    const std::string catalogue = fixture.Read("languages.ini");
    for (int round = 0; round < 3; ++round) {
        Program first(fixture), second(fixture);
        ASSERT_TRUE(WaitUntil([&] { return !first.Running() || !second.Running(); })) << round;
        Program& survivor = first.Running() ? first : second;
        EXPECT_EQ((first.Running() ? second : first).WaitForExit(), 1) << round;
        HWND window = survivor.WaitForWindow("glosk");
        ASSERT_NE(window, nullptr) << round;
        EXPECT_EQ(first.CountWindows("glosk") + second.CountWindows("glosk"), 1) << round;
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(survivor.WaitForExit(), 0) << round;
        EXPECT_EQ(fixture.Read("languages.ini"), catalogue) << round;
    }
}

// The main window's place and stay-on-top carry over to the next run, which starts on a
// pair the command line asks for, for that run only. The accelerators work from every
// window: the exit ends the run from the search window. (A second secondary window refused
// is the window test's.)
TEST_F(EndToEnd, MainWindowPlaceAcceleratorsAndSettingsCarryOver) {
    const std::string catalogue = fixture.Read("languages.ini");
    const int height = 332 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU);
    const int centred[] = {(GetSystemMetrics(SM_CXSCREEN) - 565) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    ASSERT_TRUE(Start());
    EXPECT_EQ(PlacementOf(main), (Placement{centred[0], centred[1], 565, height}));
    SaveScreenshot("main-window", main);
    SendMessageA(main, WM_COMMAND, 55, 0);
    SetWindowPos(main, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(Foreground(main));
    PressKeys({VK_MENU, 'S'});  // Alt and the first letter of AccelSearch
    HWND search = Window("zoeken");
    ASSERT_TRUE(Foreground(search));
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(search) == GetDlgItem(search, 30); }));
    PressKeys({VK_CONTROL, 'Q'});
    EXPECT_EQ(program->WaitForExit(), 0);

    ASSERT_TRUE(Start("/gk german"));
    EXPECT_EQ(GetDlgItem(main, 25), nullptr);
    EXPECT_EQ(PlacementOf(main), (Placement{40, 30, 565, height}));
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Close(main);
    EXPECT_EQ(fixture.Read("languages.ini"), catalogue);
}

TEST_F(EndToEnd, GradientPixels) {
    ASSERT_TRUE(Start());
    RECT client;
    GetClientRect(main, &client);
    POINT origin = {300, 0};
    ClientToScreen(main, &origin);
    HDC screen = GetDC(nullptr);
    const bool trueColour = GetDeviceCaps(screen, BITSPIXEL) >= 24;
    // The top line is grey. Row y has pen y x 63 / height; pen i has green 200 - 3 i. Below
    // 24 bits every row is pen 32, green 200 - 96, as near as the screen can hold it.
    const int h = client.bottom;
    auto off = [&](int y) {  // how far row y is from its colour
        const COLORREF c = GetPixel(screen, origin.x, origin.y + y);
        const int g = y == 0 ? 25 : trueColour ? 200 - 3 * (y * 63 / h) : 104, rb = y == 0 ? 25 : 0;
        return std::max({std::abs(GetRValue(c) - rb), std::abs(GetGValue(c) - g), std::abs(GetBValue(c) - rb)});
    };
    auto painted = [&] { return std::max({off(0), off(1), off(h / 2), off(h - 1)}) <= (trueColour ? 0 : 4); };
    EXPECT_TRUE(Sync(main) && WaitUntil(painted)) << off(0) << " " << off(1) << " " << off(h - 1);
    ReleaseDC(nullptr, screen);
    SaveScreenshot(trueColour ? "main-window-24bit" : "main-window-16bit", main);
}

TEST_F(EndToEnd, AboutBoxTextsAnimationAndItsPause) {
    WriteProfileStringA("Dictionary", texts.at("AviDelay").c_str(), "60000");
    ASSERT_TRUE(Start());
    HWND about = Open(main, 5, "#32770", texts.at("AboutDialogCaption").c_str());
    EXPECT_TRUE(IsWindowVisible(main) && !IsWindowEnabled(main));  // modal
    HWND animation = FindWindowExA(about, nullptr, "MCIWndClass", nullptr);
    ASSERT_NE(animation, nullptr);
    SaveScreenshot("about-box", about);

    // Played once, the animation pauses; only a click in the box ends the pause, and that
    // click still does its work there: OK closes the box.
    auto paused = [&] { return SendMessageA(animation, MCIWNDM_GETMODEA, 0, 0) == MCI_MODE_STOP; };
    ASSERT_TRUE(WaitUntil(paused, 30000));
    RECT owner, ok;
    GetWindowRect(main, &owner);
    GetWindowRect(GetDlgItem(about, IDOK), &ok);
    // A click on the owner, then the button held down on the desktop far away.
    for (bool down : {true, false}) MouseButton({owner.left + 5, owner.bottom - 5}, down);
    const POINT desktop = {GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5};
    MouseButton(desktop, true);
    EXPECT_FALSE(WaitUntil([&] { return !paused(); }, 1000));
    MouseButton(desktop, false);
    for (bool down : {true, false}) MouseButton({(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2}, down);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    Close(main);

    // Without its pictures and animation the program does without them.
    for (const char* file : {"logo.bmp", "dict.avi", "icons"}) fixture.Remove(file);
    ASSERT_TRUE(Start());
    about = Open(main, 5, "#32770", texts.at("AboutDialogCaption").c_str());
    EXPECT_EQ(FindWindowExA(about, nullptr, "MCIWndClass", nullptr), nullptr);
    Close(about);
}

TEST_F(EndToEnd, PractiseWithoutAnyListAsksThenOffersANewList) {
    fixture.Remove("lists\\First words");
    ASSERT_TRUE(Start());
    PostMessageA(main, WM_COMMAND, 11, 0);
    EXPECT_EQ(Answer(IDYES, "", "practice-empty-list-question"),
              texts.at("CreateListEmpty1") + " (dutch-english) " + texts.at("CreateListEmpty2"));
    HWND dialog = Window("#32770", texts.at("NewlistDialogCaption").c_str());
    SaveScreenshot("new-list-dialog", dialog);
    SetWindowTextA(GetDlgItem(dialog, 30), "Week 1");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND list = Window("lijst");
    EXPECT_EQ(WindowText(list), texts.at("CreateListCaption") + ": Week 1 (dutch-english)");
    EXPECT_TRUE(fixture.Exists("lists\\Week 1\\dut_eng.ls"));
    Close(list);
}
