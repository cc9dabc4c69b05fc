#include "core/lists/print_text.h"

#include "core/session/session.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

const std::string kWord30 = "abcdefghijklmnopqrstuvwxyzabcd", kLongName = kWord30 + "efghi";

using PrintFileTest = InWorkDir;

}  // namespace

// The heading puts the second name past the first one's padding, or past a longer first name
// and its gap. Its columns split there, however long the name; a record's where its
// translation starts, even when the word is shorter; an empty line stays whole.
TEST(PrintText, ColumnsSplitWhereEachLinesSecondColumnStarts) {
    const std::string heading = kLongName + Blanks(7) + "dutch";
    EXPECT_EQ(PrintHeading(kLongName.c_str(), "dutch"), heading + "\n\n");
    const std::string record = "zebra" + Blanks(26) + "   -   ";
    const std::vector<std::string> lines = {heading, "", record + "zebra", "cat", record};
    const std::vector<PrintColumns> expected = {{kLongName + Blanks(7), "dutch", true},
                                                {"", "", false},
                                                {record, "zebra", false},
                                                {"cat", "", false},
                                                {record, "", false}};
    EXPECT_EQ(SplitPrintColumns(lines, kLongName.c_str()), expected);  // the progress it tells is cosmetic
}

// The file holds every record in file order, marked ones too, with the platform's line ends;
// a Ctrl-Z in a damaged word, which ends a text file for Windows, cuts nothing.
TEST_F(PrintFileTest, WrittenAsTextAndTakenBackLineByLine) {
    // The list week1 of german into dutch.
    OpenPair("[languages]\ngerman\n", {}, "week1",
             {Record("stop\x1A", "halt"), Record("Apfel", "appel", 1), Record(kWord30, "lang")});
    ASSERT_EQ(WritePrintFile(kPrintFileName), 0);
#ifdef _WIN32
    const std::string eol = "\r\n";
#else
    const std::string eol = "\n";
#endif
    const std::vector<std::string> lines = {"german" + Blanks(32) + "dutch", "",
                                            "stop\x1A" + Blanks(26) + "   -   halt",
                                            "Apfel" + Blanks(26) + "   -   appel", kWord30 + "    -   lang"};
    std::string bytes;
    for (const std::string& line : lines) bytes += line + eol;
    EXPECT_EQ(ReadFile(kPrintFileName), bytes);

    EXPECT_EQ(TakePrintFile(kPrintFileName), lines);
    EXPECT_FALSE(Exists(kPrintFileName));
    ListCount = 4;  // a record more than the file holds: its read fails, and no file is left
    EXPECT_EQ(WritePrintFile(kPrintFileName), -1);
    EXPECT_FALSE(Exists(kPrintFileName));
}

TEST(PrintText, PageGeometryInTwips) {
    const struct {
        int width, height, dpiX, dpiY;
        PageRect page, render;
    } cases[] = {
        // A quarter inch in at the sides and half an inch at top and bottom, but no side margins
        // on a page up to 2.5 inches wide, and none at top and bottom on one up to 3 inches tall.
        {750, 3300, 300, 300, {0, 0, 3600, 15840}, {0, 720, 3600, 15120}},
        {751, 900, 300, 300, {0, 0, 3605, 4320}, {360, 0, 3245, 4320}},
        // A4 at 300 dpi; 2481 pixels are 11908.8 twips, rounded, not cut.
        {2481, 3508, 300, 300, {0, 0, 11909, 16838}, {360, 720, 11549, 16118}},
    };
    for (const auto& c : cases) {
        const PageTwips geometry = PageGeometry(c.width, c.height, c.dpiX, c.dpiY);
        EXPECT_EQ(geometry.page, c.page) << c.width << "x" << c.height;
        EXPECT_EQ(geometry.render, c.render) << c.width << "x" << c.height;
    }
}

TEST(PrintText, PagesGoOnPaperInCopyAndRangeOrder) {
    const struct {
        const char* name;
        int pages;
        PrintChoice choice;
        std::vector<int> order;
    } cases[] = {
        {"one copy", 3, {}, {1, 2, 3}},
        {"pages 2-3, two copies collated", 4, {2, true, true, 2, 3}, {2, 3, 2, 3}},
        {"a range past the end stops with the text", 3, {1, false, true, 2, 9}, {2, 3}},
        {"a range wholly past the end", 3, {1, false, true, 5, 6}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(PagePrintOrder(c.pages, c.choice), c.order) << c.name;
    // A last, partial page is a page; no lines are no page.
    EXPECT_EQ((std::vector<int>{PageCount(50, 25), PageCount(51, 25), PageCount(0, 25)}), (std::vector<int>{2, 3, 0}));
}
