// The new-list dialog and the help target: names for the file system, paths that fit.

#include <windowsx.h>

#include "ui/help.h"
#include "ui/kvtml_languages_dialog.h"
#include "ui/new_list_dialog.h"
#include "ui/ui_support.h"

namespace {

// Types a name into the new-list dialog and presses OK.
void TypeListName(const wchar_t* name) {
    WhileModal(
        [&] {
            HWND dialog = GetActiveWindow();
            SetDlgItemTextW(dialog, IDC_LISTDIALOG_NAME, name);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        },
        [] { RunNewListDialog(MainWindow); });
}

class DialogsTest : public UiTest {
protected:
    void SetUp() override {
        Start("[languages]\nenglish\n");
        CreateDirectoryA("lists", nullptr);
    }
};

}  // namespace

// A Greek interface: the typed name still lands on disk as the file system keeps names.
TEST_F(DialogsTest, ListNamesAreConvertedForTheFileSystemAndTrimmedAsItWould) {
    UiCharset = 161;
    TypeListName(L"caf\u00E9");
    EXPECT_NE(GetFileAttributesW(L"lists\\caf\u00E9"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Settings.PracticeList, "caf\xE9");
    TypeListName(L"week 3. . ");
    EXPECT_EQ(Settings.PracticeList, "week 3");
    EXPECT_NE(GetFileAttributesW(L"lists\\week 3"), INVALID_FILE_ATTRIBUTES);
    std::string name;
    EXPECT_FALSE(FileNameFromWide(L"\u03B1\u03B2", name));  // Greek has no place in the Western code page
}

TEST_F(DialogsTest, HelpTargetsOnlyPathsThatFit) {
    UseStrings({{"FilenameHelp", "help\\index.htm"}});
    const std::optional<std::string> contents = HelpTarget(nullptr), keyword = HelpTarget("search");
    ASSERT_TRUE(contents && keyword);
    EXPECT_EQ(contents->substr(contents->size() - 15), "\\help\\index.htm");
    EXPECT_EQ(keyword->substr(0, 8), "file:///");
    EXPECT_EQ(keyword->substr(keyword->size() - 22), "/help/index.htm#search");
    UseStrings({{"FilenameHelp", std::string(300, 'h') + ".htm"}});
    EXPECT_FALSE(HelpTarget(nullptr).has_value());
    EXPECT_FALSE(HelpTarget("search").has_value());
}

// A KVTML file's languages: OK takes two different ones and gives back their places.
TEST_F(DialogsTest, KvtmlLanguagesAreTwoDifferentOnesOfTheFile) {
    const std::vector<std::wstring> languages = {L"English (en)", L"Deutsch (de)",
                                                 L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC"};
    std::vector<bool> okEnabled;
    // Chooses {list, entry} in turn, noting whether OK is enabled before and after each, then
    // presses OK and Cancel, which ends the dialog only when OK did not.
    auto choose = [&](std::initializer_list<std::pair<int, int>> choices) {
        std::optional<std::pair<int, int>> chosen;
        WhileModal(
            [&] {
                HWND dialog = GetActiveWindow();
                okEnabled.push_back(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
                for (auto [id, n] : choices) {
                    ComboBox_SetCurSel(GetDlgItem(dialog, id), n);
                    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
                    okEnabled.push_back(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
                }
                SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            },
            [&] { chosen = ChooseKvtmlLanguages(MainWindow, languages, 1, -1); });
        return chosen;
    };
    EXPECT_FALSE(choose({{IDC_KVTMLDIALOG_SECOND, 1}}).has_value());  // OK stays disabled; Cancel ends it
    EXPECT_EQ(choose({{IDC_KVTMLDIALOG_SECOND, 2}, {IDC_KVTMLDIALOG_FIRST, 2}, {IDC_KVTMLDIALOG_FIRST, 0}}),
              std::make_optional(std::make_pair(0, 2)));
    EXPECT_EQ(okEnabled, (std::vector<bool>{false, false, false, true, false, true}));
}
