// End-to-end tests of adding words and of new word lists.

#include "driver.h"

namespace {

// The program with its add window open on the demo pair dutch into english.
class AddTest : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        ASSERT_TRUE(Start());
        add = Open(main, 10, "toevoeg");
        word = GetDlgItem(add, 30);
        translation = GetDlgItem(add, 31);
    }
    void Enter(const char* w, const char* t) {
        for (auto [field, text] : {std::pair{word, w}, {translation, t}}) {
            SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
            SendMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
        }
    }
    HWND add = nullptr, word = nullptr, translation = nullptr;
};

}  // namespace

// What an entry stores is the core's, and what the window shows of it (a stored entry's
// translation, what the reverse pair could not take) the window test's; here an entry typed
// lands in both pairs at once, and ending the program from the open window still sorts what
// it added.
TEST_F(AddTest, EntriesFeedTheReversePairAndAreSortedWhenTheProgramEnds) {
    Enter("woning", "dwelling,house,somewhere to live for a long time");  // the last too long for a word
    EXPECT_TRUE(ShowsText(word, ""));
    EXPECT_EQ(Entry(fixture.Records("eng_dut.gk"), "dwelling"), "woning");
    SaveScreenshot("add-words-window", add);
    PostMessageA(main, WM_COMMAND, 3, 0);  // the exit command, as Ctrl and its key give it
    EXPECT_EQ(program->WaitForExit(), 0);
    for (auto [file, locale] : {std::pair{"dut_eng.gk", kDutch}, std::pair{"eng_dut.gk", kEnglish}})
        EXPECT_TRUE(InOrder(fixture.Records(file), locale)) << file;
    EXPECT_EQ(Entry(fixture.Records("dut_eng.gk"), "woning"), "dwelling, house, somewhere to live for a long time");
}

// The names refused and the catalogue line written are the core's; here the box, and the
// new pair answering to its language-menu command at once and at the next start.
TEST_F(EndToEnd, NewWordListIsInTheMenuAtOnceAndAtTheNextStart) {
    ASSERT_TRUE(Start());
    HWND window = Open(main, 62, "createnew");
    SendMessageA(GetDlgItem(window, 30), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(" Klingon "));
    SaveScreenshot("new-word-list-window", window);
    PostMessageA(window, WM_COMMAND, 18, 0);
    EXPECT_EQ(Answer(), texts.at("CreateEmptyCreated"));
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
