// End-to-end tests of the translate window: the word at the caret of a loaded text.

#include "driver.h"

namespace {

const std::string kText = "huis, huizen don't well-known.";

class ReadingTest : public EndToEnd {
protected:
    void SetUp() override {
        EndToEnd::SetUp();
        ASSERT_TRUE(Start());
        window = Open(main, 9, "vertaal");
        text = GetDlgItem(window, 31);
        search = GetDlgItem(window, 30);
    }
    // The caret put at a byte and a key released there, as after an arrow key.
    void CaretAt(std::size_t byte) {
        SendMessageA(text, EM_SETSEL, byte, static_cast<LPARAM>(byte));
        SendMessageA(text, WM_KEYUP, VK_RIGHT, 0);
    }
    HWND window = nullptr, text = nullptr, search = nullptr;
};

}  // namespace

// Where a word ends and how a file's letters are read are the core's; here the caret of a
// loaded text reaches the word it stands in, one byte a letter or two, a word the word file
// lacks shows its base form's entry, a file too large is refused, and letters the pair lacks
// are named, then come back in a pair that has them.
TEST_F(ReadingTest, TheWordAtTheCaretOfTheFilesLoaded) {
    fixture.Write("reading.txt", kText);
    ChooseFile(window, 1, "reading.txt");
    ASSERT_TRUE(Sync(window));
    CaretAt(1);  // the row shows the word file's entry for the word
    EXPECT_TRUE(ShowsText(search, "huis"));
    EXPECT_TRUE(ShowsText(GetDlgItem(window, 100), "huis"));
    // A plural the word file lacks: the rows show its singular's entry, the label says so,
    // and the field keeps the word as the text spells it.
    CaretAt(kText.find("huizen") + 2);
    EXPECT_TRUE(ShowsText(search, "huizen"));
    EXPECT_TRUE(ShowsText(GetDlgItem(window, 100), "huis"));
    EXPECT_TRUE(WaitUntil([&] { return WideText(GetDlgItem(window, 3080)) == L"huizen \u2192 huis"; }));
    SaveScreenshot("translate_window", window);
    // A file too large is refused, and the text stays.
    fixture.Write("large.txt", std::string((8u << 20) + 1, 'a'));
    ChooseFile(window, 1, "large.txt");
    EXPECT_NE(Answer(), "<no message box>");
    EXPECT_EQ(WindowText(text), kText);

    // "Größe reeën huis" as most editors save text now, without a byte-order mark (the
    // letters after hex escapes are escapes too: "\x65" is e, "\x6E" n).
    fixture.Write("utf8.txt", "Gr\xC3\xB6\xC3\x9F\x65 ree\xC3\xAB\x6E huis");
    ChooseFile(window, 1, "utf8.txt");
    ASSERT_TRUE(Sync(window));
    EXPECT_EQ(WideText(text), L"Gr\u00F6\u00DFe ree\u00EBn huis");
    // The box counts characters, two bytes each for the file's ö, ß and ë: the caret's
    // position must still reach the word it stands in.
    CaretAt(8);
    EXPECT_TRUE(ShowsText(search, "ree\xEB\x6E"));
    SaveScreenshot("translate_window_utf8", window);

    // Greek letters have no place in the demo pair's code page: they show as "?" and the
    // message names each once. In the Greek pair the file's own letters come back.
    fixture.Write("greek.txt", "\xCE\xB1\xCE\xB3\xCE\xAC\xCF\x80\xCE\xB7 \xCE\xB1 huis");
    ChooseFile(window, 1, "greek.txt");
    HWND box = Window("#32770", texts.at("Dictionary").c_str());
    const std::wstring message = WideText(GetDlgItem(box, 0xFFFF));
    EXPECT_NE(message.find(L": \u03b1 \u03b3 \u03ac \u03c0 \u03b7   "), std::wstring::npos)
        << WindowText(GetDlgItem(box, 0xFFFF));
    Answer(IDOK, "", "translate_letters_replaced");
    EXPECT_EQ(WideText(text), L"????? ? huis");
    SendMessageA(window, WM_COMMAND, 204, 0);  // Modern Greek into english
    EXPECT_EQ(WideText(text), L"\u03b1\u03b3\u03ac\u03c0\u03b7 \u03b1 huis");
    CaretAt(2);
    EXPECT_TRUE(WaitUntil([&] { return WideText(search) == L"\u03b1\u03b3\u03ac\u03c0\u03b7"; }));
}
