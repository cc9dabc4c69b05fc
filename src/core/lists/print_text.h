// The printed form of a practice list: the text file "list.prt" of two columns under a
// heading, the page's geometry and which pages go on paper in which order.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/store/word_record.h"

inline constexpr char kPrintFileName[] = "list.prt";

// Where a record line's translation starts: a word has at most 30 characters, padded to 31,
// then the 7 characters of "   -   ".
constexpr std::size_t kTranslationColumn = 38;

// The heading (with its empty line after it) and one record's line, line ends included.
std::string PrintHeading(const char* name1, const char* name2);
std::string PrintLine(const WordRecord& record);
// Where the heading's second name starts: a first name longer than 31 characters pushes it
// right, and the columns' character sets follow it there.
std::size_t HeadingSecondColumn(const char* name1);

// Writes the heading of the current pair and every record of the current list, marked
// ones too, in file order, as text (so line ends are the platform's). 0, or -1 with no
// file left behind.
int WritePrintFile(const char* path);
// The file's lines without their line ends, the file deleted; none when it cannot be read.
std::optional<std::vector<std::string>> TakePrintFile(const char* path);

// A line of the printed table in its two columns, still bytes of the code pages: the
// heading's in the interface's, a record's word and translation in its languages'.
struct PrintColumns {
    std::string first, second;
    bool heading;
    bool operator==(const PrintColumns&) const = default;
};
// The print file's lines in their columns: a record's translation starts at a fixed
// character, the heading's second name after the first name (`name1`) and its gap.
// `onRecord` hears of each record line, numbered from 0, before it is split.
std::vector<PrintColumns> SplitPrintColumns(const std::vector<std::string>& lines, const char* name1,
                                            const std::function<void(int record)>& onRecord = {});

// Rectangles in twips (1440 per inch) or in device pixels.
struct PageRect {
    int left, top, right, bottom;
    bool operator==(const PageRect&) const = default;
};

// The page and the rectangle the text goes into, in twips, from the printer's physical
// page size in pixels and its resolution: a quarter inch at the sides on pages wider than
// 2.5 inches, half an inch at top and bottom on pages taller than 3 inches.
struct PageTwips {
    PageRect page;
    PageRect render;
};
PageTwips PageGeometry(int physicalWidth, int physicalHeight, int dpiX, int dpiY);
// The rendering rectangle in the printer's pixels, within its printable area (from the
// device context's origin, printableWidth x printableHeight), so no line is cut off.
PageRect RenderPixels(const PageRect& renderTwips, int dpiX, int dpiY, int printableWidth, int printableHeight);

// Lines of `lineHeight` that fit into `height`, at least one so that every page advances.
int LinesPerPage(int height, int lineHeight);
int PageCount(int lines, int linesPerPage);

// What the print dialog asked for.
struct PrintChoice {
    int copies = 1;
    bool collate = false;
    bool pageRange = false;
    int fromPage = 0, toPage = 0;
};
// The pages (numbered from 1) in the order they go on paper: collated copies repeat the
// document, other copies repeat each page in a row; a range keeps pages from..to.
std::vector<int> PagePrintOrder(int pageCount, const PrintChoice& choice);
