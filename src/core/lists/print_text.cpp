#include "core/lists/print_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/store/store.h"
#include "platform/lines.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace {

constexpr int kTwipsPerInch = 1440;

// As Windows' MulDiv for the non-negative sizes of a page: the quotient rounded half up.
int MulDivRounded(int value, int numerator, int denominator) {
    if (denominator <= 0) return 0;
    return static_cast<int>((static_cast<std::int64_t>(value) * numerator + denominator / 2) / denominator);
}

std::string Formatted(const char* format, const char* first, const char* second) {
    char line[256];
    std::snprintf(line, sizeof line, format, first, second);
    return line;
}

}  // namespace

std::string PrintHeading(const char* name1, const char* name2) { return Formatted("%-31s       %s\n\n", name1, name2); }

std::string PrintLine(const WordRecord& record) {
    return Formatted("%-31s   -   %s\n", record.word, record.translation);
}

std::size_t HeadingSecondColumn(const char* name1) { return std::max<std::size_t>(31, std::strlen(name1)) + 7; }

std::vector<PrintColumns> SplitPrintColumns(const std::vector<std::string>& lines, const char* name1,
                                            const std::function<void(int record)>& onRecord) {
    const std::size_t headingSplit = HeadingSecondColumn(name1);
    std::vector<PrintColumns> columns;
    columns.reserve(lines.size());
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const int record = static_cast<int>(n) - 2;  // after the heading and its empty line
        if (record >= 0 && onRecord) onRecord(record);
        const std::string& line = lines[n];
        const bool heading = n == 0;
        const std::size_t split = std::min(line.size(), heading ? headingSplit : kTranslationColumn);
        columns.push_back({line.substr(0, split), line.substr(split), heading});
    }
    return columns;
}

int WritePrintFile(const char* path) {
    std::FILE* file = std::fopen(path, "w");
    if (!file) return -1;
    bool written = std::fputs(PrintHeading(CurrentPair->name1, CurrentPair->name2).c_str(), file) >= 0;
    for (std::int32_t i = 0; written && i < ListCount; ++i)
        written = ReadListEntry(i) == 0 && std::fputs(PrintLine(CurrentRecord).c_str(), file) >= 0;
    written = std::fclose(file) == 0 && written;
    if (!written) std::remove(path);
    return written ? 0 : -1;
}

std::optional<std::vector<std::string>> TakePrintFile(const char* path) {
    // Read as bytes: in text mode Windows ends the file at a Ctrl-Z, which a damaged word may hold.
    std::string bytes;
    const bool read = platform::ReadFileBytes(path, bytes);
    std::remove(path);
    if (!read) return std::nullopt;
    // Text mode wrote each break as CRLF on Windows; a CR elsewhere is a damaged word's own.
    std::vector<std::string> lines;
    for (const TextLine& line : SplitLines(bytes, LineBreaks::LineFeed)) lines.emplace_back(line.text);
    return lines;
}

PageTwips PageGeometry(int physicalWidth, int physicalHeight, int dpiX, int dpiY) {
    const int width = MulDivRounded(physicalWidth, kTwipsPerInch, dpiX);
    const int height = MulDivRounded(physicalHeight, kTwipsPerInch, dpiY);
    PageTwips geometry{{0, 0, width, height}, {0, 0, width, height}};
    if (width > 3600) {
        geometry.render.left = 360;
        geometry.render.right = width - 360;
    }
    if (height > 4320) {
        geometry.render.top = 720;
        geometry.render.bottom = height - 720;
    }
    return geometry;
}

PageRect RenderPixels(const PageRect& renderTwips, int dpiX, int dpiY, int printableWidth, int printableHeight) {
    return {std::clamp(MulDivRounded(renderTwips.left, dpiX, kTwipsPerInch), 0, printableWidth),
            std::clamp(MulDivRounded(renderTwips.top, dpiY, kTwipsPerInch), 0, printableHeight),
            std::clamp(MulDivRounded(renderTwips.right, dpiX, kTwipsPerInch), 0, printableWidth),
            std::clamp(MulDivRounded(renderTwips.bottom, dpiY, kTwipsPerInch), 0, printableHeight)};
}

int LinesPerPage(int height, int lineHeight) { return lineHeight > 0 ? std::max(1, height / lineHeight) : 1; }

int PageCount(int lines, int linesPerPage) { return lines <= 0 ? 0 : (lines + linesPerPage - 1) / linesPerPage; }

std::vector<int> PagePrintOrder(int pageCount, const PrintChoice& choice) {
    const int copies = std::max(1, choice.copies);
    const int passes = choice.collate ? copies : 1;
    const int perPage = choice.collate ? 1 : copies;
    const int first = choice.pageRange ? std::max(1, choice.fromPage) : 1;
    const int last = choice.pageRange ? std::min(pageCount, choice.toPage) : pageCount;
    std::vector<int> order;
    for (int pass = 0; pass < passes; ++pass)
        for (int page = first; page <= last; ++page) order.insert(order.end(), perPage, page);
    return order;
}
