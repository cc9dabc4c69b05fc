// Printing a practice list for real, through the print dialog to CUPS's PDF printer.
// tests/ui/printing_test.sh runs these tests and hands back each PDF as text, numbered in
// the order they come out; without it (or without CUPS) they fail. Which pages go on paper
// in which order is the core's; here the dialog's choices reach it and the columns line up.

#include "ui/list_printing.h"

#include <dlgs.h>

#include <cstdlib>
#include <regex>

#include "core/lists/list_storage.h"
#include "ui/ui_support.h"

namespace {

using Pages = std::vector<std::vector<std::string>>;  // the non-empty lines of each page

// A record line as pdftotext reads it (a printed hyphen as U+00AD): word and translation.
const std::regex kRecordLine("^ *(\\S+) +(?:\xC2\xAD|-) +(\\S.*?) *$");

std::size_t CharactersBefore(const std::string& utf8, std::size_t bytes) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < bytes; ++i) n += (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
    return n;
}

// The pair "gr\350c" (a name with an accent, words in the Greek set) into dutch; its list week1
// is printed.
class PrintingTest : public UiTest {
protected:
    void SetUp() override {
        printed = std::getenv("DICT_PRINTED") ? std::getenv("DICT_PRINTED") : "";
        ASSERT_FALSE(printed.empty()) << "these tests print through CUPS: run them with tests/ui/printing_test.sh";
        Start("[languages]\ngr\350c,greek,161\n");
        CurrentPair = PairAt(0);
        ReopenStore();
    }
    // Prints `records`, the dialog worked as a user would: `copies`, collated or not, a page
    // range when `from` is not 0, then `button`.
    void Print(const std::vector<WordRecord>& records, int copies, bool collate, int from, int to, int button = IDOK) {
        WriteRecords("lists/week1/" + std::string(ListFileName(*CurrentPair)), records);
        Settings.PracticeList = "week1";
        ReopenListFile();
        // The list window owns the dialog and takes no input under it.
        HWND list = CreateWindowW(L"STATIC", L"list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
        WhileModal(
            [&] {
                HWND dialog = GetActiveWindow();
                EXPECT_EQ(GetWindow(dialog, GW_OWNER), list);
                EXPECT_FALSE(IsWindowEnabled(list));
                auto click = [&](int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); };
                SetDlgItemInt(dialog, edt3, static_cast<UINT>(copies), FALSE);
                if (copies > 1 && (IsDlgButtonChecked(dialog, chx2) == BST_CHECKED) != collate) click(chx2);
                click(from ? rad3 : rad1);
                if (from) SetDlgItemInt(dialog, edt1, static_cast<UINT>(from), FALSE);
                if (from) SetDlgItemInt(dialog, edt2, static_cast<UINT>(to), FALSE);
                click(button);
            },
            [&] { PrintCurrentList(list); });
        EXPECT_TRUE(IsWindowEnabled(list));
        DestroyWindow(list);
    }
    // The text of the next PDF that comes out.
    Pages NextPdf() {
        const std::string text = printed + "/" + std::to_string(++pdfs) + ".txt";
        const DWORD start = GetTickCount();
        while (!Exists(text) && GetTickCount() - start < 60000) Sleep(50);
        EXPECT_TRUE(Exists(text)) << "no PDF printed within a minute";
        Pages pages(1);
        std::string line;
        for (char c : ReadFile(text)) {
            if (c == '\f') pages.emplace_back();
            if (c != '\n' && c != '\f') line += c;
            if (c != '\n') continue;
            if (line.find_first_not_of(' ') != std::string::npos) pages.back().push_back(line);
            line.clear();
        }
        while (!pages.empty() && pages.back().empty()) pages.pop_back();
        return pages;
    }
    std::string printed;
    static inline int pdfs = 0;
};

}  // namespace

// A cancelled dialog prints nothing, so the next PDF is that of pages 1 and 2 in two collated
// copies: 1, 2, 1, 2. The records go in file order (not sorted, a marked one too) from one
// page to the next, words in Greek and translations in the Western set, under the bold
// heading, in columns that line up. The heading's names read in the interface's letters, as
// on the screen, not in the pair's.
TEST_F(PrintingTest, TheDialogsChoicesReachThePaperInColumnsUnderTheHeading) {
    const std::string longWord = std::string(29, 'x') + "y";
    auto word = [&](int i) { return i == 3 ? longWord : "\xCE\xB1\xCE\xB2\xCE\xB3" + NumberedWord(149 - i); };
    std::vector<WordRecord> records;
    for (int i = 0; i < 150; ++i) records.push_back(Record("\xE1\xE2\xE3" + NumberedWord(149 - i), "caf\xE9", i == 7));
    records[3] = Record(longWord, "long, longer");
    Print(records, 1, false, 0, 0, IDCANCEL);
    Print(records, 2, true, 1, 2);

    const Pages sheets = NextPdf();
    ASSERT_EQ(sheets.size(), 4u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(sheets[0][0], m, std::regex("^ *gr\303\250c +(dutch) *$"))) << sheets[0][0];
    // The text of each page starts at its left edge: the second page's column is its first line's.
    std::size_t column = CharactersBefore(sheets[0][0], static_cast<std::size_t>(m.position(1)));
    ASSERT_FALSE(sheets[1].empty());
    int i = 0;
    for (int page : {0, 1}) {
        for (std::size_t n = page == 0 ? 1 : 0; n < sheets[page].size(); ++n, ++i) {
            const std::string& line = sheets[page][n];
            ASSERT_TRUE(std::regex_match(line, m, kRecordLine)) << line;
            if (page == 1 && n == 0) column = CharactersBefore(line, static_cast<std::size_t>(m.position(2)));
            EXPECT_EQ(m.str(1), word(i));
            EXPECT_EQ(m.str(2), i == 3 ? "long, longer" : "caf\xC3\xA9");
            EXPECT_EQ(CharactersBefore(line, static_cast<std::size_t>(m.position(2))), column) << line;
        }
    }
    EXPECT_EQ(sheets[2], sheets[0]);
    EXPECT_EQ(sheets[3], sheets[1]);
}
