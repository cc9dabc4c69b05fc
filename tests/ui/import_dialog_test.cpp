// The dialog that asks before an import writes: its texts with their counts, its buttons
// and the new words, for plans the core makes of small files.

#include <windowsx.h>

#include "core/exchange/exchange.h"
#include "ui/import_dialog.h"
#include "ui/ui_support.h"

namespace {

// The texts from the top, then the list and the buttons under them.
constexpr int kStacked[] = {
    IDC_IMPORTDIALOG_QUESTION,    IDC_IMPORTDIALOG_FORWARD,     IDC_IMPORTDIALOG_BACKWARD, IDC_IMPORTDIALOG_PROBLEMS,
    IDC_IMPORTDIALOG_REPORT_PATH, IDC_IMPORTDIALOG_WORDS_LABEL, IDC_IMPORTDIALOG_WORDS,    IDOK};

// What the open dialog showed: each text shown, from the top, the list's rows, which
// buttons are enabled and default, and its height.
struct Shown {
    std::vector<std::wstring> texts, words;
    bool showReportEnabled = false, importIsDefault = false, stackedInOrder = true;
    int height = 0;
};

class ImportDialogTest : public UiTest {
protected:
    void SetUp() override {
        StartEnglish({Record("house", "huis"), Record("bike", "fiets"), Record("car", "auto")});
        WriteRecords(*WordFilePath(*ReversePair(*CurrentPair)), {Record("huis", "house"), Record("fiets", "bike")});
    }

    ImportPlan Plan(const std::string& lines) {
        WriteFile("words.txt", lines);
        ImportPlan plan;
        std::string error;
        EXPECT_TRUE(PlanImport("words.txt", {}, plan, error)) << error;
        return plan;
    }

    // Opens the dialog on the plan, notes what it shows, then does `answer` there; the
    // dialog's own answer.
    bool Ask(const ImportPlan& plan, const std::wstring& reportPath, Shown& shown,
             const std::function<void(HWND)>& answer) {
        bool confirmed = false;
        WhileModal(
            [&] {
                HWND dialog = GetActiveWindow();
                int bottom = 0;
                for (int id : kStacked) {
                    HWND control = GetDlgItem(dialog, id);
                    if (!IsWindowVisible(control)) continue;
                    if (id != IDC_IMPORTDIALOG_WORDS && id != IDOK) shown.texts.push_back(WideText(control));
                    RECT r;
                    GetWindowRect(control, &r);
                    MapWindowRect(nullptr, dialog, &r);
                    shown.stackedInOrder = shown.stackedInOrder && r.top >= bottom && r.bottom > r.top;
                    bottom = r.bottom;
                }
                HWND list = GetDlgItem(dialog, IDC_IMPORTDIALOG_WORDS);
                for (int i = 0; i < ListBox_GetCount(list); ++i) {
                    wchar_t row[128] = L"";
                    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
                    shown.words.push_back(row);
                }
                shown.showReportEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_IMPORTDIALOG_SHOW_REPORT));
                shown.importIsDefault = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) == IDOK;
                RECT frame;
                GetWindowRect(dialog, &frame);
                shown.height = frame.bottom - frame.top;
                answer(dialog);
            },
            [&] { confirmed = ConfirmImport(MainWindow, plan, L"words.txt", reportPath, [&] { ++reportsShown; }); });
        return confirmed;
    }

    int reportsShown = 0;
};

void Press(HWND dialog, WPARAM key) { PostMessageW(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, key, 0); }

}  // namespace

// New words and words with more translations in the pair, the same of the reverse pair,
// the lines that cannot be taken and where they are told, in a learner's words; a part
// with nothing to say takes no room.
TEST_F(ImportDialogTest, SaysWhatChangesInBothPairsAndListsTheNewWords) {
    const std::wstring report = L"C:\\work\\eng_dut.import.txt";
    const struct {
        const char* lines;
        std::vector<std::wstring> texts, words;
    } kCases[] = {
        {"house\twoning\ncat\tkat\ndog\thond, reu\nbike\tfiets\nhome\thuis\nbike\trijwiel\nx, y\tz\nempty\t\n",
         {L"Import the words of words.txt into english - dutch?",
          L"english - dutch: 3 new words, 2 words get more translations.",
          L"dutch - english: 5 new words, 1 more translation for a word already there.",
          L"2 lines of the file cannot be imported, or only in part. The whole report is in:", report,
          L"New words in english - dutch:"},
         {L"cat\tkat", L"dog\thond, reu", L"home\thuis"}},
        {"car\tauto\n",
         {L"Import the words of words.txt into english - dutch?", L"english - dutch: nothing changes.",
          L"dutch - english: 1 new word."},
         {}},
    };
    std::vector<int> heights;
    for (const auto& c : kCases) {
        Shown shown;
        EXPECT_FALSE(Ask(Plan(c.lines), report, shown, [](HWND dialog) { Press(dialog, VK_ESCAPE); }));
        EXPECT_EQ(shown.texts, c.texts) << c.lines;
        EXPECT_EQ(shown.words, c.words) << c.lines;
        EXPECT_TRUE(shown.showReportEnabled) << c.lines;
        EXPECT_TRUE(shown.importIsDefault);
        EXPECT_TRUE(shown.stackedInOrder) << c.lines;
        heights.push_back(shown.height);
    }
    EXPECT_LT(heights[1], heights[0]) << "without new words the dialog ends under its texts";
}

// Show report keeps the dialog open; Return imports.
TEST_F(ImportDialogTest, ShowReportKeepsAskingAndReturnImports) {
    const ImportPlan plan = Plan("cat\tkat\n");
    bool openAfterReport = false;
    Shown shown;
    EXPECT_TRUE(Ask(plan, L"C:\\eng_dut.import.txt", shown, [&](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, IDC_IMPORTDIALOG_SHOW_REPORT, 0);
        openAfterReport = IsWindowVisible(dialog);
        Press(dialog, VK_RETURN);
    }));
    EXPECT_EQ(reportsShown, 1);
    EXPECT_TRUE(openAfterReport);
}

// A dictionary's new words are too many for a list: the first ones, then how many more. No
// report, none to show.
TEST_F(ImportDialogTest, ManyNewWordsEndInACount) {
    std::string lines;
    for (int i = 0; i < 2005; ++i) lines += NumberedWord(i) + "\tx\n";
    Shown shown;
    Ask(Plan(lines), L"", shown, [](HWND dialog) { Press(dialog, VK_ESCAPE); });
    EXPECT_FALSE(shown.showReportEnabled);
    ASSERT_EQ(shown.words.size(), 2001u);
    EXPECT_EQ(shown.words[0], L"w00000\tx");
    EXPECT_EQ(shown.words.back(), L"... and 5 more");
}

// A line may hold several problems (a piece too long for each pair, say): lines are counted.
TEST_F(ImportDialogTest, LinesThatCannotBeImportedAreCountedOnceEach) {
    ImportReport report;
    EXPECT_EQ(ImportProblemsText(report, true), L"");
    for (int line : {3, 3, 5}) report.problems.Add(line, "a problem");
    EXPECT_EQ(ImportProblemsText(report, false), L"2 lines of the file cannot be imported, or only in part.");
    report.problems.Add(6, "a problem");
    EXPECT_EQ(ImportProblemsText(report, true),
              L"3 lines of the file cannot be imported, or only in part. The whole report is in:");
}
