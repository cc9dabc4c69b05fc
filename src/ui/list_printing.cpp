// Printing the current practice list: the "printing" window while the text is prepared,
// the print dialog, then the pages drawn on the printer in two monospaced columns. (Wine's
// rich edit lays out no pages, so the program lays them out itself.)

#include "ui/list_printing.h"

#include <commdlg.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lists/print_text.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "ui/app_state.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/progress_window.h"
#include "ui/ui_text.h"

namespace {

constexpr SIZE kPrintingWindowSize = {300, 110};
constexpr RECT kProgressBand = {25, 50, 350, 70};
constexpr int kProgressEvery = 10;
constexpr int kFontPoints = 10;
constexpr char kPrintError[] = "An error occured while trying to print.";

using PrinterDc = Unique<HDC, DeleteDC>;

// The print dialog's choices, kept from one print to the next for the rest of the run.
struct PrintSettings {
    HGLOBAL devMode = nullptr;
    HGLOBAL devNames = nullptr;
    DWORD flags = PD_RETURNDC | PD_SHOWHELP;
    WORD fromPage = 0xFFFF, toPage = 0xFFFF;  // blank in the dialog
    WORD copies = 1;
};

// A line of the printed table: its two columns, each converted with its language's
// character set; the heading is bold.
struct PrintedLine {
    std::wstring first, second;
    bool bold;
};

// The printer's fonts, made for its resolution, in both languages' character sets.
struct PrinterFonts {
    Font regular1, regular2, bold1, bold2;
    HFONT Of(bool bold, bool second) const {
        return (bold ? (second ? bold2 : bold1) : (second ? regular2 : regular1)).get();
    }
};

PrintSettings settings;
HWND printingWindow;

void PaintPrinting(HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    RECT rect = {25, 20, 350, 40};
    DrawTextW(dc, UiWide(UiKey::CreateListformatting).c_str(), -1, &rect, DT_WORDBREAK);
}

void ShowProgress(int record) {
    char text[160];
    std::snprintf(text, sizeof text, "%s %d", Ui(UiKey::CreateListWord), record);
    DrawProgressText(printingWindow, kProgressBand, text);
}

// The heading's language names read in the interface's character set, as on the screen.
std::vector<PrintedLine> ColumnLines(const std::vector<std::string>& lines) {
    const auto progress = [](int record) {
        if (record % kProgressEvery == 0) ShowProgress(record);
    };
    std::vector<PrintedLine> printed;
    for (const PrintColumns& line : SplitPrintColumns(lines, CurrentPair->name1, progress))
        printed.push_back({WideFromCharset(line.first.c_str(), line.heading ? UiCharset : CurrentPair->charset1),
                           WideFromCharset(line.second.c_str(), line.heading ? UiCharset : CurrentPair->charset2),
                           line.heading});
    return printed;
}

// The table to print, made through the print file under the "printing" window; none when
// the file could not be written or read back.
std::optional<std::vector<PrintedLine>> PrepareText() {
    return WhileShowing(
        [] {
            printingWindow = OpenProgressWindow("printing", UiKey::CreateListPrint, PaintPrinting, kPrintingWindowSize);
        },
        [] { CloseProgressWindow(printingWindow); },
        [] {
            std::optional<std::vector<PrintedLine>> text;
            if (WritePrintFile(kPrintFileName) == 0)
                if (auto lines = TakePrintFile(kPrintFileName)) text = ColumnLines(*lines);
            return text;
        });
}

// The printer's device context, or none when the dialog was cancelled; the choices made
// become the kept settings only when the user prints.
// The dialog is owned by the list window, which it disables while it is up: Print or Done
// pressed under it would start a second dialog on the same kept handles or close the
// window the dialog belongs to.
PrinterDc ChoosePrinter(HWND owner, PrintChoice& choice) {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = settings.devMode;
    pd.hDevNames = settings.devNames;
    pd.Flags = settings.flags;
    pd.nFromPage = settings.fromPage;
    pd.nToPage = settings.toPage;
    pd.nMinPage = 0;
    pd.nMaxPage = 0xFFFF;
    pd.nCopies = settings.copies;
    const bool chosen = PrintDlgA(&pd) != 0;
    // The device handles are the dialog's to replace, even when it is cancelled.
    settings.devMode = pd.hDevMode;
    settings.devNames = pd.hDevNames;
    if (!chosen) return PrinterDc();
    settings.flags = pd.Flags;
    settings.fromPage = pd.nFromPage;
    settings.toPage = pd.nToPage;
    settings.copies = pd.nCopies;
    // A selection cannot be made in this path (the list is never shown selected), so
    // printing the selection prints the whole list.
    choice = {pd.nCopies, (pd.Flags & PD_COLLATE) != 0, (pd.Flags & PD_PAGENUMS) != 0, pd.nFromPage, pd.nToPage};
    return PrinterDc(pd.hDC);
}

Font PrinterFont(HDC dc, int charset, bool bold) {
    const int height = -MulDiv(kFontPoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
    const auto set = static_cast<DWORD>(charset == kSudEuroCharset ? ANSI_CHARSET : charset);
    return Font(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, set, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
}

int LineHeight(HDC dc, const PrinterFonts& fonts) {
    int height = 0;
    for (bool bold : {false, true}) {
        SelectGuard font(dc, fonts.Of(bold, false));
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        height = std::max(height, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    }
    return height;
}

// The second column goes where the first one ends: in a monospaced face that is its
// character column on every line.
void DrawLine(HDC dc, const PrintedLine& line, const PrinterFonts& fonts, const RECT& area, int top) {
    SelectGuard font(dc, fonts.Of(line.bold, false));
    const auto firstLength = static_cast<UINT>(line.first.size());
    ExtTextOutW(dc, area.left, top, ETO_CLIPPED, &area, line.first.c_str(), firstLength, nullptr);
    SIZE extent = {};
    GetTextExtentPoint32W(dc, line.first.c_str(), static_cast<int>(firstLength), &extent);
    font.Select(fonts.Of(line.bold, true));
    ExtTextOutW(dc, area.left + extent.cx, top, ETO_CLIPPED, &area, line.second.c_str(),
                static_cast<UINT>(line.second.size()), nullptr);
}

void PrintDocument(HWND owner, HDC dc, const std::vector<PrintedLine>& lines, const PrintChoice& choice) {
    char title[MAX_PATH];
    DOCINFOA doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = GetFileTitleA(kPrintFileName, title, sizeof title) == 0 ? title : kPrintFileName;
    doc.lpszOutput = (settings.flags & PD_PRINTTOFILE) ? "FILE: " : nullptr;
    if (StartDocA(dc, &doc) <= 0) {
        UiMessageBox(owner, kPrintError, Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
        return;
    }
    const PrinterFonts fonts = {
        PrinterFont(dc, CurrentPair->charset1, false), PrinterFont(dc, CurrentPair->charset2, false),
        PrinterFont(dc, CurrentPair->charset1, true), PrinterFont(dc, CurrentPair->charset2, true)};
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    const PageTwips geometry =
        PageGeometry(GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, PHYSICALHEIGHT), dpiX, dpiY);
    const PageRect pixels =
        RenderPixels(geometry.render, dpiX, dpiY, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
    const RECT area = {pixels.left, pixels.top, pixels.right, pixels.bottom};
    const int lineHeight = LineHeight(dc, fonts);
    const int perPage = LinesPerPage(area.bottom - area.top, lineHeight);
    const int count = static_cast<int>(lines.size());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    // A page the printer refuses ends the job, and the user hears of it.
    for (int page : PagePrintOrder(PageCount(count, perPage), choice)) {
        bool printed = StartPage(dc) > 0;
        const int first = (page - 1) * perPage;
        for (int n = first; printed && n < count && n < first + perPage; ++n)
            DrawLine(dc, lines[n], fonts, area, area.top + (n - first) * lineHeight);
        if (!printed || EndPage(dc) <= 0) {
            AbortDoc(dc);
            UiMessageBox(owner, kPrintError, Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
            return;
        }
    }
    if (EndDoc(dc) <= 0) UiMessageBox(owner, kPrintError, Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
}

}  // namespace

void PrintCurrentList(HWND listWindow) {
    if (ListCount == 0) return;
    const std::optional<std::vector<PrintedLine>> lines = PrepareText();
    if (!lines) {
        UiMessageBox(listWindow, kPrintError, Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
        return;
    }
    PrintChoice choice;
    PrinterDc printer = ChoosePrinter(listWindow, choice);
    if (!printer) return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    PrintDocument(listWindow, printer.get(), *lines, choice);
    SetCursor(previous);
}
