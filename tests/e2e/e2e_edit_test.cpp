// End-to-end tests of adding words and of new word lists.

#include <gtest/gtest.h>

#include "driver.h"

namespace {

// The program with its add window open on the demo pair dutch into english.
class AddTest : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        ASSERT_TRUE(Start());
        add = Open(main, 10, "toevoeg");
        ASSERT_NE(add, nullptr);
        word = GetDlgItem(add, 30);
        translation = GetDlgItem(add, 31);
    }
    // A key that raises a message box is posted: a sent one would wait for the box to close.
    void Type(HWND field, const char* text, WPARAM key, bool raisesBox = false) {
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        const UINT msg = key == VK_RETURN ? WM_KEYDOWN : WM_KEYUP;
        if (raisesBox)
            PostMessageA(field, msg, key, 0);
        else
            SendMessageA(field, msg, key, 0);
    }
    void Enter(const char* w, const char* t, bool raisesBox = false) {
        Type(word, w, VK_RETURN);
        Type(translation, t, VK_RETURN, raisesBox);
    }
    void Refused(const std::string& message) {
        HWND box = program->WaitForWindow("#32770", texts.at("Error").c_str());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), message);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    HWND add = nullptr, word = nullptr, translation = nullptr;
};

}  // namespace

TEST_F(AddTest, EntriesFeedTheReversePairTheJournalAndTheListAndAreSortedAtClosing) {
    Type(word, "HUIS", 'S');  // a key released: the stored translation shows
    EXPECT_TRUE(ShowsText(translation, "house, home"));
    Enter("huis", "house , home,, dwelling ");
    EXPECT_TRUE(ShowsText(word, ""));
    EXPECT_EQ(Entry(fixture.Records("dut_eng.gk"), "huis"), "house, home, dwelling");
    EXPECT_EQ(Entry(fixture.Records("eng_dut.gk"), "house"), "huis");  // lists it already
    EXPECT_EQ(Entry(fixture.Records("eng_dut.gk"), "dwelling"), "huis");
    Enter("woning", "dwelling,house");
    Type(word, "woning", 'G');  // added while the window is open: not found
    EXPECT_TRUE(ShowsText(translation, ""));
    EXPECT_EQ(fixture.Records("dut_eng.gk").back().word, std::string("woning"));
    EXPECT_EQ(Entry(fixture.Records("eng_dut.gk"), "house"), "huis, woning");
    EXPECT_EQ(Entry(fixture.Records("eng_dut.gk"), "dwelling"), "huis | woning");
    const std::vector<WordRecord> journal = fixture.Records("..\\new\\dutch_english.gk");
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_STREQ(journal[0].translation, "dwelling, house");
    EXPECT_STREQ(fixture.Records("..\\lists\\First words\\dut_eng.ls").back().word, "woning");
    EXPECT_STREQ(fixture.Records("..\\lists\\First words\\eng_dut.ls").back().word, "dwelling");
    SaveScreenshot("add-words-window", add);
    Close(add);
    for (auto [file, locale] : {std::pair{"dut_eng.gk", kDutch}, std::pair{"eng_dut.gk", kEnglish}})
        EXPECT_TRUE(InOrder(fixture.Records(file), locale)) << file;
    EXPECT_EQ(Entry(fixture.Records("dut_eng.gk"), "woning"), "dwelling, house");
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(AddTest, EntriesThatStoreNothingAndAClosingWithoutASort) {
    std::vector<WordRecord> words = fixture.Records("dut_eng.gk");
    std::swap(words[5], words[6]);  // out of order on purpose: a sort would mend it
    fixture.WriteRecords("dut_eng.gk", words);
    const std::string before = fixture.Read("wordlists\\dut_eng.gk") + fixture.Read("wordlists\\eng_dut.gk");
    Type(word, "a,b", 'B', true);
    Refused(texts.at("AddNocomma"));
    Enter("peer", " ,, , ");  // nothing but commas: both fields are cleared
    EXPECT_TRUE(ShowsText(word, ""));
    Enter("peer", "aaaaaaaaaa,bbbbbbbbbb,cccccccccc,dddddddddd,eeeee", true);  // 54 characters once normalised
    Refused(texts.at("AddTooLong"));
    EXPECT_EQ(WindowText(word), "peer");  // kept for the user to shorten
    Close(add);
    EXPECT_EQ(fixture.Read("wordlists\\dut_eng.gk") + fixture.Read("wordlists\\eng_dut.gk"), before);
    EXPECT_FALSE(fixture.Exists("new\\dutch_english.gk"));
}

TEST_F(AddTest, EndingTheProgramFromTheWindowStillSortsWhatItAdded) {
    Enter("aaab", "zzzy");
    PostMessageA(main, WM_COMMAND, 3, 0);  // the exit command, as Ctrl and its key give it
    EXPECT_EQ(program->WaitForExit(), 0);
    for (auto [file, locale] : {std::pair{"dut_eng.gk", kDutch}, std::pair{"eng_dut.gk", kEnglish}})
        EXPECT_TRUE(InOrder(fixture.Records(file), locale)) << file;
    EXPECT_EQ(Entry(fixture.Records("dut_eng.gk"), "aaab"), "zzzy");
    EXPECT_EQ(Entry(fixture.Records("eng_dut.gk"), "zzzy"), "aaab");
}

TEST_F(EndToEnd, NewWordListIsInTheMenuAtOnceAndAtTheNextStart) {
    const std::string catalogue = fixture.Read("languages.ini");
    ASSERT_TRUE(Start());
    HWND window = Open(main, 62, "createnew");
    ASSERT_NE(window, nullptr);
    HWND name = GetDlgItem(window, 30);
    const std::pair<const char*, std::string> refused[] = {
        {"", texts.at("CreateEmptyEnterName")},
        {"ENGLISH", texts.at("CreateEmptyNotAllowed")},
        {"Kling:on", texts.at("CreateEmptyNotAllowed")},
        {"modern greek", "Modern Greek\n\n" + texts.at("CreateEmptyExists")}};
    for (const auto& [typed, message] : refused) {
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        PostMessageA(window, WM_COMMAND, 18, 0);
        HWND box = program->WaitForWindow("#32770", "Dictionary");
        ASSERT_NE(box, nullptr) << typed;
        EXPECT_EQ(MessageBoxText(box), message);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(" Klingon "));
    SaveScreenshot("new-word-list-window", window);
    PostMessageA(window, WM_COMMAND, 18, 0);
    HWND box = program->WaitForWindow("#32770", "Dictionary");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), texts.at("CreateEmptyCreated"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window) && IsWindowVisible(main); }));

    std::string expected = catalogue;
    expected.insert(expected.find("Modern Greek\r\n") + 14, "longname,english,0,Klingon\r\n");
    EXPECT_EQ(fixture.Read("languages.ini"), expected);
    EXPECT_EQ(fixture.Read("wordlists\\english_Klingon.gk"), "");
    EXPECT_EQ(fixture.Read("wordlists\\Klingon_english.gk"), "");
    const std::string icon = fixture.Read("icons\\Klingon.ico");
    ASSERT_EQ(icon.size(), 1078u);
    EXPECT_EQ(icon.substr(0, 6), std::string("\0\0\1\0\2\0", 6));
    // The new pair answers to its language-menu command at once and at the next start.
    for (int run = 0; run < 2; ++run) {
        fixture.Write("languages.ini", expected);
        if (run == 1) {
            Close(main);
            ASSERT_TRUE(Start());
        }
        SendMessageA(main, WM_COMMAND, 205, 0);  // Klingon into english
        EXPECT_NE(fixture.Read("languages.ini").find("[selected]\r\nKlingon_english.gk"), std::string::npos) << run;
    }
    Close(main);
}
