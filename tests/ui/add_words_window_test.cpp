// The add window worked in-process: what its fields may hold, and its closing work.

#include <gtest/gtest.h>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/secondary_window.h"
#include "ui/ui_support.h"

namespace {

// The pair english into dutch (both Western) with its add window opened from the main window.
class AddWindowTest : public UiTest {
protected:
    void SetUp() override {
        Start("[languages]\nenglish\n", {{"AddLetterMissing", "no place for %s"}});
        CurrentPair = PairAt(0);
        WriteRecords("words/eng_dut.gk", {Record("apple", "appel"), Record("zebra", "zebra")});
        ReopenStore();
        SendMessageW(MainWindow, WM_COMMAND, IDC_MAIN_ADD, 0);
        add = FindWindowA("toevoeg", nullptr);
        ASSERT_NE(add, nullptr);
    }
    void TearDown() override {
        if (IsWindow(add)) DestroyWindow(add);
        UiTest::TearDown();
    }
    // Types both fields and presses Enter in the translation field.
    void Confirm(const wchar_t* word, const wchar_t* translation) {
        SetDlgItemTextW(add, IDC_ADD_WORD, word);
        SetDlgItemTextW(add, IDC_ADD_TRANSLATION, translation);
        SendDlgItemMessageW(add, IDC_ADD_TRANSLATION, WM_KEYDOWN, VK_RETURN, 0);
    }
    // The text of the message box that `act` brings up (then closed), and whether the
    // window took input meanwhile.
    std::wstring MessageOf(const std::function<void()>& act, bool* enabled = nullptr) {
        std::wstring text;
        WhileModal(
            [&] {
                HWND box = FindWindowA("#32770", nullptr);
                text = WideText(GetDlgItem(box, 0xFFFF));
                if (enabled) *enabled = IsWindowEnabled(add) != 0;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            },
            act);
        return text;
    }
    HWND add = nullptr;
};

}  // namespace

// A letter the pair's code page lacks is refused by name, in either field, and nothing is
// stored; one that has a place there is stored as typed.
TEST_F(AddWindowTest, LettersThePairCannotHoldAreRefusedByName) {
    const std::string before = ReadFile("words/eng_dut.gk");
    const struct {
        const wchar_t *word, *translation, *letter;
    } cases[] = {{L"\u0142\u00F3d\u017A", L"stad", L"\u0142"},  // best fit would store "lodz"
                 {L"city", L"\u03C0\u03CC\u03BB\u03B7", L"\u03C0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf([&] { Confirm(c.word, c.translation); }), std::wstring(L"no place for ") + c.letter);
        EXPECT_EQ(WideText(GetDlgItem(add, IDC_ADD_WORD)), c.word);  // kept for the user to mend
    }
    EXPECT_EQ(ReadFile("words/eng_dut.gk"), before);
    Confirm(L"caf\u00E9", L"caf\u00E9");
    EXPECT_STREQ(ReadRecords("words/eng_dut.gk").back().word, "caf\xE9");
}

// While a closing sort fails and says so, the window takes no entry.
TEST_F(AddWindowTest, StaysDisabledWhileTheClosingSortFails) {
    Confirm(L"mango", L"mango");
    bool enabled = true;
    FailingFileStep failing(1);  // the reverse file's sorted copy
    MessageOf([&] { SendMessageW(add, WM_COMMAND, IDC_ADD_DONE, 0); }, &enabled);
    EXPECT_FALSE(enabled);
    EXPECT_FALSE(IsWindow(add));
}

// Windows ending the session closes the window as the user would: its sorts run first.
TEST_F(AddWindowTest, SessionEndRunsTheClosingSort) {
    Confirm(L"banana", L"banaan");
    EXPECT_EQ(SendMessageW(MainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(MainWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(IsWindow(add));
    EXPECT_STREQ(ReadRecords("words/eng_dut.gk")[1].word, "banana");
}
