// End-to-end test of the main window's File > Import and File > Export.

#include <gtest/gtest.h>

#include <tuple>

#include "driver.h"

namespace {

constexpr int kImport = 73, kExport = 74, kSearch = 12;

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
    // The text of the program's next message box, answered with `button` (after a
    // screenshot, when named).
    std::string Answer(int button, const std::string& screenshot = "") {
        HWND box = program->WaitForWindow("#32770", texts.at("Dictionary").c_str());
        if (!box) return "<no message box>";
        const std::string text = MessageBoxText(box);
        if (!screenshot.empty()) SaveScreenshot(screenshot, box);
        PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        return text;
    }
};

}  // namespace

TEST_F(ExchangeTest, ImportReportsBeforeWritingFeedsBothPairsAndExportFollowsTheChosenType) {
    fixture.Write("import.tsv", kImportFile);
    const std::vector<WordRecord> forward = fixture.Records("dut_eng.gk"), backward = fixture.Records("eng_dut.gk");
    const std::string forwardBytes = fixture.Read("wordlists\\dut_eng.gk");
    const std::string backwardBytes = fixture.Read("wordlists\\eng_dut.gk");
    ASSERT_TRUE(Start());

    // The report, in the file's UTF-8 read back as the display shows it; Cancel writes nothing.
    const std::string report = texts.at("ImportQuestion") + " dutch - english?\n\n" + fixture.Path("import.tsv") +
                               " (tsv): 6 entries\n"
                               "text: UTF-8\n"
                               "fields separated by tab\n"
                               "added 2, merged 1, already there 1, skipped 2\n"
                               "reverse pair: added 3, merged 1\n"
                               "line 5: \"caf\xE9, bar\": a comma in the word\n"
                               "line 6: \"leeg\": the translation is empty\n"
                               "\nEvery line that cannot be imported is listed in\n" +
                               fixture.Path("dut_eng.import.txt") +
                               "\n\nYes imports the words, No opens the list first, Cancel imports nothing.";
    // Lines whose commas look like the separator: the file type says it is the semicolon.
    fixture.Write("semicolons.txt", "vis;fish, fishes\r\nkat, cat\r\n");
    ChooseFile(main, kImport, "semicolons.txt", 2);
    EXPECT_NE(Answer(IDCANCEL).find("fields separated by semicolon\n"), std::string::npos);
    ASSERT_TRUE(Sync(main));

    ChooseFile(main, kImport, "import.tsv");
    // No opens the whole report, in the program that opens text, and asks again.
    EXPECT_EQ(Answer(IDNO, "import-report"), report);
    HWND notepad = nullptr;
    char title[MAX_PATH] = "";
    EXPECT_TRUE(WaitUntil([&] {
        notepad = FindWindowA("Notepad", nullptr);
        return notepad && GetWindowTextA(notepad, title, sizeof title) &&
               std::string(title).find("dut_eng.import.txt") == 0;
    })) << title;
    if (notepad) PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_EQ(fixture.Read("dut_eng.import.txt").substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(Answer(IDCANCEL), report);
    ASSERT_TRUE(Sync(main));
    EXPECT_EQ(fixture.Read("wordlists\\dut_eng.gk"), forwardBytes);
    EXPECT_EQ(fixture.Read("wordlists\\eng_dut.gk"), backwardBytes);

    ChooseFile(main, kImport, "import.tsv");
    EXPECT_EQ(Answer(IDYES), report);
    EXPECT_EQ(Answer(IDOK), texts.at("ImportDone") + "   ");
    const std::vector<WordRecord> pair = fixture.Records("dut_eng.gk"), reverse = fixture.Records("eng_dut.gk");
    EXPECT_EQ(pair.size(), forward.size() + 2);
    EXPECT_TRUE(InOrder(pair, kDutch));
    EXPECT_EQ(Entry(pair, "huis"), "house, home, dwelling");
    EXPECT_EQ(reverse.size(), backward.size() + 3);
    EXPECT_TRUE(InOrder(reverse, kEnglish));
    EXPECT_EQ(Entry(reverse, "house"), "huis, woning");

    // The store was opened and counted again: the search finds the new word, and a key
    // after every word shows the file's last one on the last row. Meanwhile the search
    // window holds the store, and the commands are refused at once.
    HWND search = Open(main, kSearch, "zoeken");
    ASSERT_NE(search, nullptr);
    for (auto [typed, row, word, translation] :
         {std::tuple{"woning", 0, "woning", "house"}, {"zzzzzz", 9, pair.back().word, pair.back().translation}}) {
        SendMessageA(GetDlgItem(search, 30), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        EXPECT_TRUE(ShowsText(GetDlgItem(search, 100 + row), word)) << typed;
        EXPECT_TRUE(ShowsText(GetDlgItem(search, 150 + row), translation)) << typed;
    }
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
    const std::string csv = fixture.Read("exported.csv");
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "'s avonds,in the evening");
    EXPECT_NE(csv.find("\r\nhuis,\"house, home, dwelling\"\r\n"), std::string::npos);
    Close(main);
}
