// End-to-end test of the main window's File > Import and File > Export.

#include "driver.h"

namespace {

constexpr int kImport = 73, kExport = 74, kSearch = 12;
// The import dialog's line that says where the report is, the new words and the button that
// opens the report.
constexpr int kReportPath = 3054, kNewWords = 3056, kShowReport = 3057;

// UTF-8, as other programs write it: a new word, a new word with a letter the pair's code
// page holds, a new translation, one already there, and two lines that cannot be stored.
const std::string kImportFile =
    "woning\thouse\n"
    "pati\xC3\xABnt\tpatient\n"
    "huis\tdwelling\n"
    "fiets\tbike\n"
    "caf\xC3\xA9, bar\tx\n"
    "leeg\t\n";

class ExchangeTest : public EndToEnd {
protected:
    HWND ImportDialog() { return Window("#32770", texts.at("ImportCaption").c_str()); }
    // Answers the dialog with a key, as the user does.
    void Press(HWND dialog, WORD key) {
        ASSERT_TRUE(Foreground(dialog));
        PressKeys({key});
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }
};

}  // namespace

// What is merged how is the core's, and what the import dialog shows of it the dialog's;
// here the dialogs, the boxes, the report opened in another program and the files the
// answers leave.
TEST_F(ExchangeTest, ImportAsksBeforeWritingFeedsBothPairsRepeatsNothingExportFollowsTheTypeAndEscapeStopsAPlan) {
    fixture.Write("import.tsv", kImportFile);
    const std::vector<WordRecord> forward = fixture.Records("dut_eng.gk"), backward = fixture.Records("eng_dut.gk");
    const std::string forwardBytes = fixture.Read("wordlists\\dut_eng.gk");
    ASSERT_TRUE(Start());

    // Lines whose commas look like the separator: the file type says it is the semicolon,
    // and the one new word shows it. Escape imports nothing.
    fixture.Write("semicolons.txt", "zalm;salmon, lox\r\nkat, cat\r\n");
    ChooseFile(main, kImport, "semicolons.txt", 2);
    HWND dialog = ImportDialog();
    EXPECT_EQ(ListBoxItem(GetDlgItem(dialog, kNewWords), 0), "zalm\tsalmon, lox");
    Press(dialog, VK_ESCAPE);

    // What the dialog says, and that Show report keeps it open, are the window test's; here
    // Show report opens the whole report in the program that opens text; Cancel writes nothing.
    ChooseFile(main, kImport, "import.tsv");
    dialog = ImportDialog();
    SaveScreenshot("import-dialog", dialog);
    const std::string reportPath = fixture.Path("dut_eng.import.txt");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kReportPath)), reportPath);
    PostMessageA(GetDlgItem(dialog, kShowReport), BM_CLICK, 0, 0);
    HWND notepad = nullptr;
    char title[MAX_PATH] = "";
    EXPECT_TRUE(WaitUntil([&] {
        notepad = FindWindowA("Notepad", nullptr);
        return notepad && GetWindowTextA(notepad, title, sizeof title) &&
               std::string(title).find("dut_eng.import.txt") == 0;
    })) << title;
    if (notepad) PostMessageA(notepad, WM_CLOSE, 0, 0);
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    ASSERT_TRUE(Sync(main));
    EXPECT_EQ(fixture.Read("wordlists\\dut_eng.gk"), forwardBytes);

    // Return imports.
    ChooseFile(main, kImport, "import.tsv");
    dialog = ImportDialog();
    Press(dialog, VK_RETURN);
    EXPECT_EQ(Answer(IDOK), texts.at("ImportDone") + "   ");
    const std::vector<WordRecord> pair = fixture.Records("dut_eng.gk"), reverse = fixture.Records("eng_dut.gk");
    EXPECT_EQ(pair.size(), forward.size() + 2);
    EXPECT_TRUE(InOrder(pair, kDutch));
    EXPECT_EQ(reverse.size(), backward.size() + 3);
    EXPECT_TRUE(InOrder(reverse, kEnglish));

    // The same file again changes nothing, nothing is asked (what is written and backed up
    // then is the core's), and the lines it cannot take are still offered in the report.
    ChooseFile(main, kImport, "import.tsv");
    EXPECT_EQ(Answer(IDNO), texts.at("ImportNothing") + "\n\n" + WithCount(texts.at("ImportDialogProblemLines"), 2) +
                                " " + texts.at("ImportDialogReportWhere") + "\n" + reportPath + "\n\n" +
                                texts.at("ImportNothingShowReport") + "   ");
    fixture.Write("again.tsv", "huis\thome\n");  // a file without such lines just says so
    ChooseFile(main, kImport, "again.tsv");
    EXPECT_EQ(Answer(IDOK), texts.at("ImportNothing") + "   ");

    // The store was opened and counted again: a key after every word shows the file's last
    // one on the last row. Meanwhile the search window holds the store, and the commands
    // are refused at once.
    HWND search = Open(main, kSearch, "zoeken");
    SendMessageA(GetDlgItem(search, 30), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("zzzzzz"));
    EXPECT_TRUE(ShowsText(GetDlgItem(search, 109), pair.back().word));
    for (int command : {kImport, kExport}) {
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(main, WM_COMMAND, static_cast<WPARAM>(command), 0, SMTO_NORMAL, 5000, &result), 0)
            << command;
        EXPECT_EQ(program->CountWindows("#32770"), 0) << command;
    }
    Close(search);

    // The second file type, a name without an extension: comma-separated text in a .csv file.
    ChooseFile(main, kExport, "exported", 2);
    EXPECT_EQ(Answer(IDOK), texts.at("ExportDone1") + " " + std::to_string(pair.size()) + " " +
                                texts.at("ExportDone2") + "\n" + fixture.Path("exported.csv") + "   ");
    EXPECT_NE(fixture.Read("exported.csv").find("\r\nhuis,\"house, home, dwelling\"\r\n"), std::string::npos);

    // Planning a large file shows the sorting window with the entries read; Escape stops it,
    // and nothing more is asked (that nothing is written is the core's).
    std::string many;
    for (int i = 0; i < 800000; ++i) many += "woord" + std::to_string(i) + "\tword" + std::to_string(i) + "\n";
    fixture.Write("many.tsv", many);
    ChooseFile(main, kImport, "many.tsv");
    HWND sorting = Window("sorting");
    Foreground(sorting);
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return program->CountWindows("sorting") == 0; }, 60000));
    ASSERT_TRUE(Sync(main));
    EXPECT_EQ(program->CountWindows("#32770"), 0) << "no report, no failure";
    Close(main);
}
