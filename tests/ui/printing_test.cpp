// Printing a practice list for real, through the print dialog to CUPS's PDF printer.
// tests/ui/printing_test.sh runs these tests and hands back each PDF as text, numbered in
// the order they come out; without it (or without CUPS) they fail.

#include "ui/list_printing.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "ui/app_state.h"
#include "ui/ui_support.h"

namespace {

using Pages = std::vector<std::vector<std::string>>;  // the non-empty lines of each page

struct Dialog {
    int copies = 1;
    bool collate = false;
    int fromPage = 0, toPage = 0;  // a range when fromPage is not 0
    int button = IDOK;
};

// Sets the print dialog's controls as a user would, then presses a button.
void Work(HWND dialog, const Dialog& choice) {
    auto click = [&](int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); };
    SetDlgItemInt(dialog, edt3, static_cast<UINT>(choice.copies), FALSE);
    if (choice.copies > 1 && (IsDlgButtonChecked(dialog, chx2) == BST_CHECKED) != choice.collate) click(chx2);
    click(choice.fromPage ? rad3 : rad1);
    if (choice.fromPage) SetDlgItemInt(dialog, edt1, static_cast<UINT>(choice.fromPage), FALSE);
    if (choice.fromPage) SetDlgItemInt(dialog, edt2, static_cast<UINT>(choice.toPage), FALSE);
    click(choice.button);
}

// The "printing" window as it closed (it lives only inside the command): its size and
// whether the progress text was drawn into it.
std::string printingSize;
bool progressDrawn;

LRESULT CALLBACK WatchPrintingWindow(int code, WPARAM wParam, LPARAM lParam) {
    auto window = reinterpret_cast<HWND>(wParam);
    char name[16] = "";
    if (code == HCBT_DESTROYWND && GetClassNameA(window, name, sizeof name) && std::string(name) == "printing") {
        RECT r = {};
        GetWindowRect(window, &r);
        printingSize = std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
        HDC dc = GetDC(window);
        for (int y = 50; y < 70; ++y)
            for (int x = 25; x < 200; ++x) progressDrawn = progressDrawn || GetPixel(dc, x, y) == RGB(50, 50, 50);
        ReleaseDC(window, dc);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A record line as pdftotext reads it (a printed hyphen as U+00AD): word, translation and
// the character column the translation starts at.
const std::regex kRecordLine("^ *(\\S+) +(?:\xC2\xAD|-) +(\\S.*?) *$");

std::size_t CharactersBefore(const std::string& utf8, std::size_t bytes) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < bytes; ++i) n += (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
    return n;
}

// The first record word of each page: which page of the document a sheet is.
std::vector<std::string> FirstWords(const Pages& pages) {
    std::vector<std::string> words;
    for (const auto& page : pages) {
        std::smatch m;
        for (const std::string& line : page)
            if (std::regex_match(line, m, kRecordLine)) break;
        words.push_back(m.empty() ? "" : m.str(1));
    }
    return words;
}

// The pair "gr\350c" (a name with an accent, words in the Greek set) into dutch; its list week1
// is printed.
class PrintingTest : public UiTest {
protected:
    void SetUp() override {
        printed = Env("DICT_PRINTED");
        ASSERT_FALSE(printed.empty()) << "these tests print through CUPS: run them with tests/ui/printing_test.sh";
        Start("[languages]\ngr\350c,greek,161\n");
        CurrentPair = PairAt(0);
        ReopenStore();
    }
    static std::string Env(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }
    void Print(const std::vector<WordRecord>& records, const Dialog& choice) {
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
                Work(dialog, choice);
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

// Records in file order (not sorted, a marked one too), words in Greek and translations in
// the Western set, under the bold heading, in columns that line up. The heading's names
// read in the interface's letters, as on the screen, not in the pair's.
TEST_F(PrintingTest, TwoColumnsUnderTheHeading) {
    std::vector<WordRecord> records;
    for (int i = 24; i >= 0; --i) records.push_back(Record("\xE1\xE2\xE3" + std::to_string(i), "caf\xE9", i == 7));
    records[3] = Record(std::string(29, 'x') + "y", "long, longer");
    HHOOK hook = SetWindowsHookExW(WH_CBT, WatchPrintingWindow, nullptr, GetCurrentThreadId());
    Print(records, {});
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(printingSize, "300x110");
    EXPECT_TRUE(progressDrawn);
    EXPECT_FALSE(Exists("list.prt"));

    const Pages pages = NextPdf();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 26u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(pages[0][0], m, std::regex("^ *gr\303\250c +(dutch) *$"))) << pages[0][0];
    const std::size_t column = CharactersBefore(pages[0][0], static_cast<std::size_t>(m.position(1)));
    for (int i = 0; i < 25; ++i) {
        const std::string& line = pages[0][i + 1];
        ASSERT_TRUE(std::regex_match(line, m, kRecordLine)) << line;
        EXPECT_EQ(m.str(1), i == 3 ? std::string(29, 'x') + "y" : "\xCE\xB1\xCE\xB2\xCE\xB3" + std::to_string(24 - i));
        EXPECT_EQ(m.str(2), i == 3 ? "long, longer" : "caf\xC3\xA9");
        EXPECT_EQ(CharactersBefore(line, static_cast<std::size_t>(m.position(2))), column) << line;
    }
}

// Two copies: each page twice in a row, or collated the document twice. A cancelled dialog
// prints nothing, so the next PDF is the range's: pages 2 and 3 only.
TEST_F(PrintingTest, CopiesRangesAndCancelling) {
    std::vector<WordRecord> records;
    for (int i = 0; i < 150; ++i) records.push_back(Record(NumberedWord(i), "t"));
    Print(records, {2, false});
    const std::vector<std::string> sheets = FirstWords(NextPdf());
    std::vector<std::string> document;
    for (std::size_t i = 0; i < sheets.size(); i += 2) document.push_back(sheets[i]);
    ASSERT_GE(document.size(), 3u);
    EXPECT_EQ(document[0], NumberedWord(0));
    for (std::size_t i = 1; i < document.size(); ++i) EXPECT_LT(document[i - 1], document[i]);
    std::vector<std::string> twice;
    for (const std::string& page : document) twice.insert(twice.end(), 2, page);
    EXPECT_EQ(sheets, twice);

    Print(records, {2, true});
    std::vector<std::string> collated = document;
    collated.insert(collated.end(), document.begin(), document.end());
    EXPECT_EQ(FirstWords(NextPdf()), collated);

    Print(records, {1, false, 0, 0, IDCANCEL});
    Print(records, {1, false, 2, 3});
    EXPECT_EQ(FirstWords(NextPdf()), (std::vector<std::string>{document[1], document[2]}));
}
