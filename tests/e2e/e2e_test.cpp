// End-to-end tests: the real program on a copy of the demo working directory.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "driver.h"
#include "core/strings/strings_file.h"

namespace {

// The interface texts of a working directory, from its strings file.
std::map<std::string, std::string> Texts(const Fixture& fixture) {
    std::map<std::string, std::string> texts;
    std::istringstream in(UnpackStrings(fixture.Read("strings\\english.str")));
    for (std::string line; std::getline(in, line);)
        if (auto eq = line.find('='); eq != std::string::npos) texts.emplace(line.substr(0, eq), line.substr(eq + 1));
    return texts;
}

std::string Without(const std::string& text, const std::string& line) {
    std::string result = text;
    result.erase(result.find(line), line.size());
    return result;
}

// The catalogue's line after its selection header.
std::string SelectionLine(const Fixture& fixture) {
    std::istringstream in(fixture.Read("languages.ini"));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[selected]", 0) == 0 && std::getline(in, line)) return line.substr(0, line.find('\r'));
    return "";
}

void Close(Program& program, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

class EndToEnd : public testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    Fixture fixture;
};

}  // namespace

TEST_F(EndToEnd, StartupFailuresShowTheirMessageAndExitWithOne) {
    const auto texts = Texts(fixture);
    struct Case {
        const char* name;
        void (*breakIt)(const Fixture&);
        std::string text;
    } cases[] = {
        {"no strings file", [](const Fixture& f) { f.Remove("strings\\english.str"); }, "No strings file found.   "},
        {"missing key",
         [](const Fixture& f) {
             std::string packed, error;
             PackStrings(Without(UnpackStrings(f.Read("strings\\english.str")), "IniAddnew=[languages]\n"), packed, error);
             f.Write("strings\\english.str", packed);
         },
         "String: IniAddnew not found.   "},
        {"no catalogue", [](const Fixture& f) { f.Remove("languages.ini"); }, texts.at("NoIni")},
        {"no word file", [](const Fixture& f) { f.Remove("wordlists\\dut_eng.gk"); },
         "Can't open wordlists\\dut_eng.gk   \n\nProgram aborted"},
    };
    for (const Case& c : cases) {
        Fixture broken;
        c.breakIt(broken);
        Program program(broken);
        HWND box = program.WaitForWindow("#32770");
        ASSERT_NE(box, nullptr) << c.name;
        EXPECT_EQ(MessageBoxText(box), c.text) << c.name;
        EXPECT_EQ(WindowText(box), "Dictionary") << c.name;
        SaveScreenshot(std::string("startup-failure-") + (c.name + 3));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(program.WaitForExit(), 1) << c.name;
    }
}

TEST_F(EndToEnd, SecondInstanceEndsQuietly) {
    Program first(fixture);
    HWND main = first.WaitForWindow("glosk", "Dictionary");
    ASSERT_NE(main, nullptr);
    Program second(fixture);
    EXPECT_EQ(second.WaitForExit(), 1);  // a message box would have kept it running
    Close(first, main);
}

TEST_F(EndToEnd, CommandLineChoosesPairForThisRunAndRecorderMode) {
    const std::string catalogue = fixture.Read("languages.ini");
    {
        Program program(fixture, "/gk german");
        HWND main = program.WaitForWindow("glosk");
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(GetDlgItem(main, 25), nullptr);
        // A flag click turns the requested pair round, which then is saved.
        SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 120));
        EXPECT_EQ(SelectionLine(fixture), "eng_ger.gk");
        Close(program, main);
    }
    fixture.Write("languages.ini", catalogue);
    {
        Program program(fixture, "/gk german");
        HWND main = program.WaitForWindow("glosk");
        ASSERT_NE(main, nullptr);
        Close(program, main);
    }
    EXPECT_EQ(fixture.Read("languages.ini"), catalogue);
    Program recorder(fixture, "RECORD");
    HWND main = recorder.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    HWND record = GetDlgItem(main, 25);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(WindowText(record), Texts(fixture).at("RecordCaption"));
    SaveScreenshot("main-window-recorder");
    Close(recorder, main);
}

TEST_F(EndToEnd, MainWindowPlaceAndTitle) {
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    Settle();
    EXPECT_EQ(WindowText(main), "Dictionary");
    RECT r;
    GetWindowRect(main, &r);
    const int caption = GetSystemMetrics(SM_CYCAPTION), menu = GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(r.right - r.left, 565);
    EXPECT_EQ(r.bottom - r.top, 332 + caption + menu);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 565) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (menu + 332 + caption)) / 2);

    SaveScreenshot("main-window");
    Close(program, main);
}

TEST_F(EndToEnd, PairSwitchesRewriteOnlyTheSelectionLine) {
    const std::string before = fixture.Read("languages.ini");
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    SendMessageA(main, WM_COMMAND, 202, 0);  // french into english
    EXPECT_EQ(SelectionLine(fixture), "fre_eng.gk");
    std::string expected = before;
    expected.replace(expected.find("dut_eng.gk"), 10, "fre_eng.gk");
    EXPECT_EQ(fixture.Read("languages.ini"), expected);

    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(59, 120));  // beside the flag
    EXPECT_EQ(SelectionLine(fixture), "fre_eng.gk");
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 107));  // the first flag's corner
    EXPECT_EQ(SelectionLine(fixture), "eng_fre.gk");
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(91, 208));  // the second flag's far corner
    EXPECT_EQ(SelectionLine(fixture), "fre_eng.gk");
    Settle();
    SaveScreenshot("main-window-french");
    Close(program, main);
    EXPECT_FALSE(fixture.Exists("tmp.ini"));
}

TEST_F(EndToEnd, TogglesAndSettingsWrittenAtExit) {
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageA(main, WM_COMMAND, 55, 0);
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageA(main, WM_COMMAND, 65, 0);
    Close(program, main);

    EXPECT_EQ(SettingsKeys(), (std::vector<std::string>{"searchwindowsize", "searchwindowminimal", "PracticeMode",
                                                        "PracticeSound", "StayOnTop", "WinPosLeftMain",
                                                        "WinPosTopMain", "ClipSearch", "AddNewWordsToList",
                                                        "PracticeList", "ListID"}));
    EXPECT_EQ(SettingNumber("PracticeMode", -1), 1);
    EXPECT_EQ(SettingNumber("StayOnTop", -1), 1);
    EXPECT_EQ(SettingNumber("searchwindowsize", -1), 10);

    // Toggled twice, stay-on-top is as it was; the next run starts from the stored values.
    Program again(fixture);
    main = again.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageA(main, WM_COMMAND, 55, 0);
    EXPECT_FALSE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Close(again, main);
    EXPECT_EQ(SettingNumber("StayOnTop", -1), 0);
}

TEST_F(EndToEnd, GradientPixels) {
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    Settle(500);
    RECT client;
    GetClientRect(main, &client);
    POINT origin = {0, 0};
    ClientToScreen(main, &origin);
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    auto at = [&](int x, int y) { return ScreenPixel(origin.x + x, origin.y + y); };
    if (depth >= 24) {
        // Row y has pen y x 63 / height; pen i has green 200 - 3 i.
        auto green = [&](int y) { return RGB(0, 200 - 3 * (y * 63 / client.bottom), 0); };
        EXPECT_EQ(at(300, 0), RGB(25, 25, 25));
        EXPECT_EQ(at(300, 1), RGB(0, 200, 0));
        EXPECT_EQ(at(5, client.bottom / 2), green(client.bottom / 2));
        EXPECT_EQ(at(300, client.bottom - 1), green(client.bottom - 1));
        SaveScreenshot("main-window-24bit");
    } else {
        // Below 24 bits every row is pen 32: green 200 - 96, as the screen can hold it.
        EXPECT_NEAR(GetGValue(at(300, 0)), 25, 4);
        for (int y : {1, static_cast<int>(client.bottom / 2), static_cast<int>(client.bottom - 1)}) {
            COLORREF c = at(300, y);
            EXPECT_EQ(GetRValue(c), 0) << y;
            EXPECT_NEAR(GetGValue(c), 104, 4) << y;
            EXPECT_EQ(GetBValue(c), 0) << y;
        }
        SaveScreenshot("main-window-16bit");
    }
    Close(program, main);
}

TEST_F(EndToEnd, AboutBoxTexts) {
    const auto texts = Texts(fixture);
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, 5, 0);
    HWND about = program.WaitForWindow("#32770", texts.at("AboutDialogCaption").c_str());
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, 69)), texts.at("AboutDialogVersion"));
    EXPECT_EQ(WindowText(GetDlgItem(about, 70)), texts.at("AboutDialogCopyright"));
    EXPECT_EQ(WindowText(GetDlgItem(about, 71)), texts.at("AboutDialogWebsite"));
    EXPECT_EQ(WindowText(GetDlgItem(about, 72)), texts.at("AboutDialogEmail"));
    EXPECT_EQ(WindowText(GetDlgItem(about, IDOK)), texts.at("AboutDialogOk"));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsWindowEnabled(main));  // modal
    // The animation plays in the left frame.
    HWND animation = FindWindowExA(about, nullptr, "MCIWndClass", nullptr);
    ASSERT_NE(animation, nullptr);
    RECT frame;
    GetWindowRect(animation, &frame);
    POINT corner = {frame.left, frame.top};
    ScreenToClient(about, &corner);
    EXPECT_EQ(corner.x, 10);
    EXPECT_EQ(corner.y, 11);
    RECT inside;
    GetClientRect(animation, &inside);
    EXPECT_EQ(inside.right, 140);  // the size of dict.avi
    EXPECT_EQ(inside.bottom, 100);
    EXPECT_TRUE(IsWindowVisible(animation));
    Settle(800);
    SaveScreenshot("about-box");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && IsWindow(about); ++i) Settle(50);
    EXPECT_FALSE(IsWindow(about));
    Close(program, main);
}

TEST_F(EndToEnd, InformationWindowCountsEveryPair) {
    const auto texts = Texts(fixture);
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, 63, 0);
    HWND info = program.WaitForWindow("info", texts.at("WordlistInfoCaption").c_str());
    ASSERT_NE(info, nullptr);
    for (int i = 0; i < 100 && IsWindowVisible(main); ++i) Settle(50);
    EXPECT_FALSE(IsWindowVisible(main));
    HWND list = FindWindowExA(info, nullptr, "SysListView32", nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 10);
    struct Row {
        const char* name;
        const char* file;
        const char* locale;
        const char* charset;
    } rows[] = {
        {"dutch - english", "dut_eng", "dutch", "Western"},
        {"german - english", "ger_eng", "german", "Western"},
        {"french - english", "fre_eng", "french", "Western"},
        {"spanish - english", "spa_eng", "spanish", "Western"},
        {"Modern Greek - english", "Modern Greek_english", "greek", "Greek"},
        {"english - dutch", "eng_dut", "english", "Western"},
        {"english - german", "eng_ger", "english", "Western"},
        {"english - french", "eng_fre", "english", "Western"},
        {"english - spanish", "eng_spa", "english", "Western"},
        {"english - Modern Greek", "english_Modern Greek", "english", "Western"},
    };
    for (int row = 0; row < 10; ++row) {
        const Row& r = rows[row];
        EXPECT_EQ(ListViewCell(list, program.id(), row, 0), r.name);
        const auto records = fixture.Read(std::string("wordlists\\") + r.file + ".gk").size() / 84;
        EXPECT_GT(records, 0u);
        EXPECT_EQ(ListViewCell(list, program.id(), row, 1), std::to_string(records)) << row;
        EXPECT_EQ(ListViewCell(list, program.id(), row, 2), r.locale);
        EXPECT_EQ(ListViewCell(list, program.id(), row, 3), r.charset);
    }
    SaveScreenshot("information-window");
    PostMessageA(info, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(info); ++i) Settle(50);
    EXPECT_TRUE(IsWindowVisible(main));
    // The pair current before is current again: a flag click turns it round.
    SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 120));
    EXPECT_EQ(SelectionLine(fixture), "eng_dut.gk");
    Close(program, main);
}

TEST_F(EndToEnd, PractiseWithoutAnyListAsksThenOffersANewList) {
    const auto texts = Texts(fixture);
    fixture.Remove("lists\\First words");
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, 11, 0);
    HWND question = program.WaitForWindow("#32770", "Dictionary");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageBoxText(question),
              texts.at("CreateListEmpty1") + " (dutch-english) " + texts.at("CreateListEmpty2"));
    SaveScreenshot("practice-empty-list-question");
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    HWND dialog = program.WaitForWindow("#32770", texts.at("NewlistDialogCaption").c_str());
    ASSERT_NE(dialog, nullptr);
    SaveScreenshot("new-list-dialog");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 200 && IsWindow(dialog); ++i) Settle(50);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(fixture.Exists("lists\\First words"));
    Close(program, main);
}

TEST_F(EndToEnd, MissingPicturesAndAnimationAreDoneWithout) {
    fixture.Remove("logo.bmp");
    fixture.Remove("dict.avi");
    fixture.Remove("icons");
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, 5, 0);
    HWND about = program.WaitForWindow("#32770", Texts(fixture).at("AboutDialogCaption").c_str());
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(FindWindowExA(about, nullptr, "MCIWndClass", nullptr), nullptr);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && IsWindow(about); ++i) Settle(50);
    SetForegroundWindow(main);
    Settle(500);
    SaveScreenshot("main-window-without-pictures");
    Close(program, main);
}

TEST_F(EndToEnd, StoredPlaceOfTheMainWindow) {
    WriteProfileStringA("Dictionary", "WinPosLeftMain", "40");
    WriteProfileStringA("Dictionary", "WinPosTopMain", "30");
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    SetWindowPos(main, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Close(program, main);
    EXPECT_EQ(SettingNumber("WinPosLeftMain", -1), 100);
    EXPECT_EQ(SettingNumber("WinPosTopMain", -1), 120);
}

namespace {

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT up = {};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *it;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

TEST_F(EndToEnd, AcceleratorsWorkFromEveryWindow) {
    Program program(fixture);
    HWND main = program.WaitForWindow("glosk");
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    Settle();
    PressKeys({VK_MENU, 'S'});  // Alt and the first letter of AccelSearch
    HWND search = program.WaitForWindow("zoeken");
    ASSERT_NE(search, nullptr);
    SetForegroundWindow(search);
    Settle();
    PressKeys({VK_MENU, 'S'});  // refused while a window is open
    Settle();
    EXPECT_EQ(FindWindowExA(nullptr, search, "zoeken", nullptr), nullptr);
    EXPECT_TRUE(IsWindow(search));
    PressKeys({VK_CONTROL, 'Q'});  // the exit accelerator ends the program from here
    EXPECT_EQ(program.WaitForExit(), 0);
}
