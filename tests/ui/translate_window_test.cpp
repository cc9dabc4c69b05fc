// The reading aid worked in-process: the record of a base form for a word the word file
// lacks, and the label that says so.

#include "ui/translate_window.h"

#include <string>

#include "ui/ui_support.h"

namespace {

const std::string kText = "She went past houses and tree-houses to the mouse.";

class TranslateWindowTest : public UiTest {
protected:
    void SetUp() override {
        WriteEnglishMorphology();
        // Three records after zoo, so each record can head the three rows.
        StartEnglish({Record("go", "gaan"), Record("house", "huis"), Record("mouse", "muis"),
                      Record("zoo", "dierentuin"), Record("zoom", "zoomen"), Record("zoot", "zoot")},
                     {{"BaseFormCompoundPart", "(part)"}});
        ASSERT_NE(window = OpenWindow(OpenTranslateWindow), nullptr);
        WriteFile("text.txt", kText);
        ASSERT_TRUE(LoadTextFile("text.txt"));
        text = GetDlgItem(window, 31);
        search = GetDlgItem(window, 30);
        label = GetDlgItem(window, 3080);
        ASSERT_NE(label, nullptr);
    }
    // The caret put into the first `word` of the text, as after an arrow key.
    void CaretIn(const std::string& word) {
        const std::size_t at = kText.find(word) + 1;
        SendMessageW(text, EM_SETSEL, at, static_cast<LPARAM>(at));
        SendMessageW(text, WM_KEYUP, VK_RIGHT, 0);
    }
    std::wstring Shown(int id) { return WideText(GetDlgItem(window, id)); }
    HWND window = nullptr, text = nullptr, search = nullptr, label = nullptr;
};

}  // namespace

// The field keeps the word as the text spells it; the rows show the record of its base
// form, or of a compound's last part, and the label under them says which.
TEST_F(TranslateWindowTest, AWordTheListLacksShowsItsBaseFormsRecord) {
    const struct {
        const char* word;
        const wchar_t* firstRow;
        const wchar_t* label;
    } cases[] = {
        {"went", L"go", L"went \u2192 go"},
        {"houses", L"house", L"houses \u2192 house"},
        {"tree-houses", L"house", L"tree-houses \u2192 house (part)"},
        {"mouse", L"mouse", L""},  // in the list
        {"past", L"zoo", L""},     // nowhere: where it would stand
    };
    for (const auto& c : cases) {
        CaretIn(c.word);
        EXPECT_EQ(WideText(search), WideFromCharset(c.word, 0)) << c.word;
        EXPECT_EQ(Shown(100), c.firstRow) << c.word;
        EXPECT_EQ(WideText(label), c.label) << c.word;
    }
}

// The label speaks of the caret's word: typing in the field, or another pair, ends it. It
// has a colour of its own.
TEST_F(TranslateWindowTest, TypingOrAPairSwitchClearsTheLabelWhichHasItsOwnColour) {
    CaretIn("went");
    ASSERT_EQ(WideText(label), L"went \u2192 go");
    SetWindowTextW(search, L"zo");
    EXPECT_EQ(WideText(label), L"");
    EXPECT_EQ(Shown(100), L"zoo");
    CaretIn("houses");
    ASSERT_EQ(WideText(label), L"houses \u2192 house");
    SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(PairAt(1)->menuId), 0);  // dutch into english
    EXPECT_EQ(WideText(label), L"");

    // The read-only text box asks for its colours as a label does; it keeps the system's.
    Canvas canvas(4, 4);
    for (HWND control : {text, label}) {
        SetTextColor(canvas.dc(), RGB(1, 2, 3));
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                     reinterpret_cast<LPARAM>(control));
        EXPECT_EQ(GetTextColor(canvas.dc()) == GetSysColor(COLOR_WINDOWTEXT), control == text);
    }
}
