#include "ui/review_chart_window.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/review/review_pair.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "ui/fonts.h"
#include "ui/gdi.h"
#include "ui/review_window.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

const COLORREF kRatingColours[4] = {RGB(200, 40, 40), RGB(230, 150, 20), RGB(40, 150, 40), RGB(40, 90, 200)};

namespace {

const char kClassName[] = "herhaalgrafiek";
constexpr COLORREF kAxis = RGB(0, 0, 0), kBar = RGB(90, 90, 160);
// Room for the title above a plot, the count labels left of it and the day labels below.
constexpr int kTitle = 22, kLabels = 40, kBelow = 20, kGap = 12, kLegend = 18;
// The calibration panel's column at the right.
constexpr int kCalibrationWidth = 300;

struct ChartState {
    review::ReviewFigures figures;
    Calibration calibration;
    std::wstring pointed;  // what the bar under the mouse stands for
};
ChartState s;

int HeightOf(std::int64_t count, std::int32_t top, const RECT& plot) {
    return MulDiv(static_cast<int>(count), plot.bottom - plot.top, top);
}

void Label(HDC dc, const std::wstring& text, RECT r, UINT format) {
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_SINGLELINE | DT_NOPREFIX);
}

// The frame of a plot: the title above, the axes, the top and bottom of the count axis
// at its left, and the first and last day under it.
void Axes(HDC dc, const RECT& plot, const std::wstring& title, const std::wstring& topLabel, const std::wstring& first,
          const std::wstring& last) {
    Label(dc, title, {plot.left - kLabels, plot.top - kTitle, plot.right, plot.top - 4}, DT_LEFT | DT_BOTTOM);
    MoveToEx(dc, plot.left - 1, plot.top, nullptr);
    LineTo(dc, plot.left - 1, plot.bottom);
    LineTo(dc, plot.right, plot.bottom);
    Label(dc, topLabel, {plot.left - kLabels, plot.top - 6, plot.left - 4, plot.top + 10}, DT_RIGHT | DT_TOP);
    Label(dc, L"0", {plot.left - kLabels, plot.bottom - 14, plot.left - 4, plot.bottom + 2}, DT_RIGHT | DT_BOTTOM);
    Label(dc, first, {plot.left, plot.bottom + 2, plot.right, plot.bottom + kBelow}, DT_LEFT | DT_TOP);
    Label(dc, last, {plot.left, plot.bottom + 2, plot.right, plot.bottom + kBelow}, DT_RIGHT | DT_TOP);
}

void Fill(HDC dc, RECT r, COLORREF colour) {
    if (r.bottom <= r.top || r.right <= r.left) return;
    Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

RECT Column(const RECT& plot, int day) {
    const int width = plot.right - plot.left;
    return {plot.left + day * width / review::kChartDays + 1, plot.top,
            plot.left + (day + 1) * width / review::kChartDays - 1, plot.bottom};
}

void PaintReviews(HDC dc, const RECT& plot, const review::ReviewFigures& f) {
    std::int32_t largest = 0;
    for (const review::DayCounts& d : f.pastDays) {
        std::int32_t all = 0;
        for (std::int32_t n : d.byRating) all += n;
        largest = std::max(largest, all);
    }
    const std::int32_t top = review::AxisTop(largest);
    for (int day = 0; day < review::kChartDays; ++day) {
        RECT bar = Column(plot, day);
        std::int64_t below = 0;
        for (int g = 0; g < 4; ++g) {
            const std::int32_t n = f.pastDays[static_cast<std::size_t>(day)].byRating[static_cast<std::size_t>(g)];
            Fill(dc,
                 {bar.left, plot.bottom - HeightOf(below + n, top, plot), bar.right,
                  plot.bottom - HeightOf(below, top, plot)},
                 kRatingColours[g]);
            below += n;
        }
    }
    Axes(dc, plot, UiWideOr("ReviewChartReviews", "Reviews per day, last 30 days"), std::to_wstring(top),
         ChartDayName(1 - review::kChartDays), UiWideOr("ReviewChartToday", "today"));
}

void PaintRight(HDC dc, const RECT& plot, const review::ReviewFigures& f) {
    for (int day = 0; day < review::kChartDays; ++day) {
        const double share = review::RightShare(f.pastDays[static_cast<std::size_t>(day)]);
        if (share < 0) continue;
        RECT bar = Column(plot, day);
        Fill(dc,
             {bar.left, plot.bottom - HeightOf(static_cast<int>(share * 100 + 0.5), 100, plot), bar.right, plot.bottom},
             kRatingColours[2]);
    }
    Axes(dc, plot, UiWideOr("ReviewChartRight", "Answered right per day"), L"100%",
         ChartDayName(1 - review::kChartDays), UiWideOr("ReviewChartToday", "today"));
}

void PaintDue(HDC dc, const RECT& plot, const review::ReviewFigures& f) {
    const std::int32_t top = review::AxisTop(*std::max_element(f.dueDays.begin(), f.dueDays.end()));
    for (int day = 0; day < review::kChartDays; ++day) {
        RECT bar = Column(plot, day);
        Fill(dc,
             {bar.left, plot.bottom - HeightOf(f.dueDays[static_cast<std::size_t>(day)], top, plot), bar.right,
              plot.bottom},
             kBar);
    }
    Axes(dc, plot, UiWideOr("ReviewChartDue", "Words due in the next 30 days"), std::to_wstring(top),
         UiWideOr("ReviewChartToday", "today"), ChartDayName(review::kChartDays - 1));
}

// Three bars side by side, each with its count above it, and the rating colours' legend.
void PaintWords(HDC dc, const RECT& plot, const review::ReviewFigures& f) {
    const std::int32_t counts[] = {f.newWords, f.young, f.mature};
    const std::wstring names[] = {UiWideOr("ReviewChartNew", "new"), UiWideOr("ReviewChartYoung", "young"),
                                  UiWideOr("ReviewChartMature", "mature")};
    const std::int32_t top = review::AxisTop(std::max({counts[0], counts[1], counts[2]}));
    const int width = (plot.right - plot.left) / 3;
    for (int i = 0; i < 3; ++i) {
        const RECT bar = {plot.left + i * width + 8, plot.bottom - HeightOf(counts[i], top, plot),
                          plot.left + (i + 1) * width - 8, plot.bottom};
        Fill(dc, bar, kBar);
        Label(dc, std::to_wstring(counts[i]), {bar.left, bar.top - 16, bar.right, bar.top}, DT_CENTER | DT_BOTTOM);
        Label(dc, names[i], {bar.left - 6, plot.bottom + 2, bar.right + 6, plot.bottom + kBelow}, DT_CENTER | DT_TOP);
    }
    Axes(dc, plot, UiWideOr("ReviewChartWords", "Words by how well they are known"), std::to_wstring(top), L"", L"");
}

std::array<std::wstring, 4> RatingNames() {
    return {UiWideOr("ReviewChartAgain", "again"), UiWideOr("ReviewChartHard", "hard"),
            UiWideOr("ReviewChartGood", "good"), UiWideOr("ReviewChartEasy", "easy")};
}

// The rating colours' legend, under the reviews' day labels: the colours are theirs alone.
void PaintLegend(HDC dc, const RECT& reviews) {
    const int top = reviews.bottom + kBelow;
    const std::array<std::wstring, 4> names = RatingNames();
    int x = reviews.left;
    for (int g = 0; g < 4; ++g) {
        Fill(dc, {x, top + 4, x + 10, top + 14}, kRatingColours[g]);
        Label(dc, names[static_cast<std::size_t>(g)], {x + 14, top, x + 80, top + kLegend}, DT_LEFT | DT_VCENTER);
        x += 80;
    }
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintReviewChart(dc, client, s.figures, s.calibration);
    // What the bar under the mouse stands for, in the lower row's spare line.
    SelectGuard font(dc, Fonts.GuiFont);
    Label(dc, s.pointed, {client.left + kGap, client.bottom - kLegend, client.right - kGap, client.bottom},
          DT_LEFT | DT_VCENTER);
    EndPaint(hwnd, &ps);
}

void OnMouseMove(HWND hwnd, int x, int y, UINT) {
    RECT client;
    GetClientRect(hwnd, &client);
    std::wstring pointed = ChartPointedText(client, {x, y}, s.figures);
    if (pointed == s.pointed) return;
    s.pointed = std::move(pointed);
    RECT line = {client.left, client.bottom - kLegend, client.right, client.bottom};
    InvalidateRect(hwnd, &line, TRUE);
}

void OnKeyDown(HWND hwnd, UINT key, BOOL down, int, UINT) {
    if (down && key == VK_ESCAPE) DestroyWindow(hwnd);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    // The pair the figures are of, in the caption.
    const std::wstring caption = UiWideOr("ReviewChartCaption", "Review progress") + L": " + PairNameWide(*CurrentPair);
    SetWindowTextW(hwnd, caption.c_str());
    s.pointed.clear();
    const std::int64_t now = ReviewClock();
    const review::ReplayRules rules = review::RulesFromSettings(LocalDayOffset(now));
    review::ReviewMemory memory;
    const std::int32_t words = review::LoadPairMemory(review::ReviewFilesOf(*CurrentPair), rules, memory);
    s.figures = review::Figures(memory, now, rules.dayOffsetMs, words);
    s.calibration = CurrentCalibration(rules.dayOffsetMs);
    return TRUE;
}

void OnSize(HWND hwnd, UINT, int, int) { InvalidateRect(hwnd, nullptr, TRUE); }

void OnDestroy(HWND) { SecondaryWindowClosed(); }

LRESULT CALLBACK ChartWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_MOUSEMOVE, OnMouseMove);
        HANDLE_MSG(hwnd, WM_KEYDOWN, OnKeyDown);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

ChartAreas ChartAreasIn(const RECT& client) {
    const int charts = client.right - kCalibrationWidth;
    const int midX = (client.left + charts) / 2, midY = (client.top + client.bottom) / 2;
    auto plot = [](int left, int top, int right, int bottom) {
        return RECT{left + kGap + kLabels, top + kGap + kTitle, right - kGap, bottom - kBelow};
    };
    // The upper row keeps room for the legend; the lower for what the mouse points at.
    return {plot(client.left, client.top, midX, midY - kLegend),
            plot(midX, client.top, charts, midY - kLegend),
            plot(client.left, midY, midX, client.bottom - kLegend),
            plot(midX, midY, charts, client.bottom - kLegend),
            {charts + kGap, client.top + kGap, client.right - kGap, client.bottom - kGap}};
}

std::wstring ChartDayName(int daysFromToday) {
    const std::int64_t now = ReviewClock();
    const std::int64_t localMs = now + LocalDayOffset(now) + daysFromToday * review::kDayMs;
    const std::uint64_t ticks = static_cast<std::uint64_t>(localMs + 11644473600000) * 10000;  // from 1601
    const FILETIME time = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME day;
    return FileTimeToSystemTime(&time, &day) ? DayWide(day, false) : std::wstring();
}

std::wstring ChartPointedText(const RECT& client, POINT at, const review::ReviewFigures& f) {
    const ChartAreas areas = ChartAreasIn(client);
    auto dayAt = [&](const RECT& plot) {
        if (!PtInRect(&plot, at)) return -1;
        return static_cast<int>((at.x - plot.left) * review::kChartDays / (plot.right - plot.left));
    };
    if (const int day = dayAt(areas.reviews); day >= 0) {
        const review::DayCounts& d = f.pastDays[static_cast<std::size_t>(day)];
        std::wstring text = ChartDayName(day + 1 - review::kChartDays) + L":";
        const std::array<std::wstring, 4> names = RatingNames();
        std::int32_t all = 0;
        for (std::size_t g = 0; g < 4; ++g) {
            all += d.byRating[g];
            text += L" " + names[g] + L" " + std::to_wstring(d.byRating[g]);
        }
        return text + L" (" + std::to_wstring(all) + L")";
    }
    if (const int day = dayAt(areas.right); day >= 0) {
        const double share = review::RightShare(f.pastDays[static_cast<std::size_t>(day)]);
        return ChartDayName(day + 1 - review::kChartDays) + L": " +
               (share < 0 ? std::wstring(L"-") : std::to_wstring(static_cast<int>(share * 100 + 0.5)) + L"%");
    }
    if (const int day = dayAt(areas.due); day >= 0)
        return ChartDayName(day) + L": " + std::to_wstring(f.dueDays[static_cast<std::size_t>(day)]);
    return std::wstring();
}

void PaintReviewChart(HDC dc, const RECT& client, const review::ReviewFigures& figures,
                      const Calibration& calibration) {
    SelectGuard font(dc, Fonts.GuiFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kAxis);
    const ChartAreas areas = ChartAreasIn(client);
    PaintReviews(dc, areas.reviews, figures);
    PaintRight(dc, areas.right, figures);
    PaintDue(dc, areas.due, figures);
    PaintWords(dc, areas.words, figures);
    PaintLegend(dc, areas.reviews);
    PaintCalibration(dc, areas.calibration, calibration);
}

HWND OpenReviewChart() {
    return OpenCentredWindow(kClassName, ChartWindowProc, CS_HREDRAW | CS_VREDRAW,
                             UiTextOr("ReviewChartCaption", "Review progress"), WS_OVERLAPPEDWINDOW,
                             760 + kCalibrationWidth, 560);
}
