// End-to-end tests of the translate window: the word at the caret of a loaded text.

#include <gtest/gtest.h>

#include "driver.h"

namespace {

const std::string kLong(150, 'x');
// "café" in the demo pair's code page, where é is one byte.
const std::string kText = "huis, don't well-known abc123def caf\xE9 " + kLong + " zyxwv.";

class ReadingTest : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        ASSERT_TRUE(Start());
        window = Open(main, 9, "vertaal");
        ASSERT_NE(window, nullptr);
        text = GetDlgItem(window, 31);
        search = GetDlgItem(window, 30);
    }
    // The caret put at a byte and a key released there, as after an arrow key.
    void CaretAt(std::size_t byte) {
        SendMessageA(text, EM_SETSEL, byte, static_cast<LPARAM>(byte));
        SendMessageA(text, WM_KEYUP, VK_RIGHT, 0);
    }
    void CheckCarets() {
        const struct {
            std::string before;  // the caret stands just before this text's first occurrence
            std::size_t offset;
            std::string looked;  // empty: nothing is looked up, the field keeps the last word
        } cases[] = {
            {"huis", 0, "huis"},
            {"huis", 1, "huis"},
            {", don't", 0, ""},
            {"don't", 3, "don't"},
            {"known", 0, "well-known"},
            {"abc", 1, "abc"},
            {"123", 0, ""},
            {"def", 2, "def"},
            {"caf", 3, "caf\xE9"},
            {kLong, 10, kLong.substr(0, 99)},
            {"zyxwv", 2, "zyxwv"},
            {".", 1, ""},
        };
        std::string last;
        for (const auto& c : cases) {
            CaretAt(kText.find(c.before) + c.offset);
            if (!c.looked.empty()) last = c.looked;
            EXPECT_TRUE(ShowsText(search, last)) << c.before << "+" << c.offset;
        }
        // The row shows the word file's entry for the word.
        CaretAt(0);
        EXPECT_TRUE(ShowsText(GetDlgItem(window, 100), "huis"));
    }
    HWND window = nullptr, text = nullptr, search = nullptr;
};

}  // namespace

TEST_F(ReadingTest, TheWordAtTheCaretOfClipboardText) {
    CopyText(kText);
    SendMessageA(window, WM_COMMAND, 20, 0);
    CheckCarets();
    SaveScreenshot("translate_window", window);
}

TEST_F(ReadingTest, TheWordAtTheCaretOfAFileChosenInTheDialog) {
    fixture.Write("reading.txt", kText);
    ChooseFile(window, 1, "reading.txt");
    ASSERT_TRUE(Sync(window));
    CheckCarets();
}

TEST_F(ReadingTest, AFileTooLargeIsRefusedAndTheTextKept) {
    CopyText("huis");
    SendMessageA(window, WM_COMMAND, 20, 0);
    fixture.Write("large.txt", std::string((8u << 20) + 1, 'a'));
    ChooseFile(window, 1, "large.txt");
    HWND box = program->WaitForWindow("#32770", texts.at("Dictionary").c_str());
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(WindowText(text), "huis");
}
