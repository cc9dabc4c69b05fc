// End-to-end tests of adding words and of new word lists.

#include "driver.h"

namespace {

// The program with its add window open on the demo pair dutch into english.
class AddTest : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        ASSERT_TRUE(Start());
        ASSERT_NE(add = Open(main, 10, "toevoeg"), nullptr);
        word = GetDlgItem(add, 30);
        translation = GetDlgItem(add, 31);
    }
    void Type(HWND field, const char* text, WPARAM key) {
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(field, key == VK_RETURN ? WM_KEYDOWN : WM_KEYUP, key, 0);
    }
    void Enter(const char* w, const char* t) {
        Type(word, w, VK_RETURN);
        Type(translation, t, VK_RETURN);
    }
    HWND add = nullptr, word = nullptr, translation = nullptr;
};

}  // namespace

// What an entry stores and what a key finds are the core's; here a released key shows the
// stored entry, an entry typed lands in both pairs at once (saying what the reverse pair
// could not take), and ending the program from the
// open window still sorts what it added.
TEST_F(AddTest, EntriesFeedTheReversePairAndAreSortedWhenTheProgramEnds) {
    Type(word, "HUIS", 'S');
    EXPECT_TRUE(ShowsText(translation, "house, home"));
    Enter("woning", "dwelling,house,somewhere to live for a long time");  // the last too long for a word
    EXPECT_TRUE(ShowsText(word, ""));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(add, 3040)));  // says so
    EXPECT_EQ(Entry(fixture.Records("eng_dut.gk"), "dwelling"), "woning");
    SaveScreenshot("add-words-window", add);
    PostMessageA(main, WM_COMMAND, 3, 0);  // the exit command, as Ctrl and its key give it
    EXPECT_EQ(program->WaitForExit(), 0);
    for (auto [file, locale] : {std::pair{"dut_eng.gk", kDutch}, std::pair{"eng_dut.gk", kEnglish}})
        EXPECT_TRUE(InOrder(fixture.Records(file), locale)) << file;
    EXPECT_EQ(Entry(fixture.Records("dut_eng.gk"), "woning"), "dwelling, house, somewhere to live for a long time");
}

// The names refused and the catalogue line written are the core's; here the boxes, and the
// new pair answering to its language-menu command at once and at the next start.
TEST_F(EndToEnd, NewWordListIsInTheMenuAtOnceAndAtTheNextStart) {
    ASSERT_TRUE(Start());
    HWND window = Open(main, 62, "createnew");
    ASSERT_NE(window, nullptr);
    HWND name = GetDlgItem(window, 30);
    for (auto [typed, told] : {std::pair{"modern greek", "Modern Greek\n\n" + texts.at("CreateEmptyExists")},
                               {" Klingon ", texts.at("CreateEmptyCreated")}}) {
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        if (typed[0] == ' ') SaveScreenshot("new-word-list-window", window);
        PostMessageA(window, WM_COMMAND, 18, 0);
        EXPECT_EQ(Answer(), told);
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window) && IsWindowVisible(main); }));
    for (int run = 0; run < 2; ++run) {
        if (run == 1) {
            Close(main);
            ASSERT_TRUE(Start());
        }
        for (int id : {200, 205}) SendMessageA(main, WM_COMMAND, id, 0);  // away, then Klingon into english
        EXPECT_NE(fixture.Read("languages.ini").find("[selected]\r\nKlingon_english.gk"), std::string::npos) << run;
    }
    Close(main);
}
