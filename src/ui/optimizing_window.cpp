#include "ui/optimizing_window.h"

#include <cstdio>
#include <optional>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/review/review_pair.h"
#include "core/review/review_queue.h"
#include "core/strings/ui_strings.h"
#include "platform/platform.h"
#include "ui/gdi.h"
#include "ui/progress_window.h"
#include "ui/review_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "herhaaloptimaliseren";
constexpr RECT kBar = {20, 70, 330, 86};

struct OptimizingState {
    HWND window = nullptr;
    DWORD shown = 0;  // when the bar was last drawn
};
OptimizingState s;

void Paint(HDC dc) {
    DrawShadowedText(dc, PairNameWide(*CurrentPair), {1, 6, 351, 31}, DT_SINGLELINE | DT_CENTER);
    RECT busy = {10, 32, 340, 68};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, UiWideOr("OptimizeBusy", "Fitting the schedule to your answers. Esc stops it.").c_str(), -1, &busy,
              DT_CENTER | DT_WORDBREAK);
}

// The share done as a bar; the fit does not dispatch messages, so it is drawn straight in.
void DrawBar(std::size_t done, std::size_t total) {
    WindowDc dc(s.window);
    FillRect(dc, &kBar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT filled = kBar;
    filled.right =
        kBar.left + static_cast<LONG>(total ? (kBar.right - kBar.left) * static_cast<double>(done) / total : 0);
    Brush blue(CreateSolidBrush(RGB(40, 90, 200)));
    FillRect(dc, &filled, blue.get());
    char percent[16];
    std::snprintf(percent, sizeof percent, "%d%%", total ? static_cast<int>(100.0 * done / total) : 0);
    DrawProgressText(s.window, {150, 90, 200, 108}, percent);
}

// Drawing and looking at the queue a few times a second is enough, and costs the fit nothing.
bool Progress(std::size_t done, std::size_t total) {
    if (GetTickCount() - s.shown < 100) return true;
    s.shown = GetTickCount();
    DrawBar(done, total);
    return !ProgressCancelled(s.window);
}

void Show() {
    s.window = OpenProgressWindow(kClassName, UiTextOr("OptimizeCaption", "Optimize review"), Paint);
    s.shown = GetTickCount() - 1000;
}

void Close() { CloseProgressWindow(s.window); }

}  // namespace

std::wstring OptimizeReportText(const review::LogFit& fit, const review::DueChange& due) {
    const auto counts = [](const char* key, const char* builtIn, std::initializer_list<std::int64_t> n) {
        return WithCounts(UiWideOr(key, builtIn), n);
    };
    if (fit.verdict == review::FitVerdict::TooFew)
        return counts("OptimizeTooFew",
                      "This pair's log has too few reviews to fit the schedule to (%d reviews of %d words). "
                      "Nothing changes; try again after more reviews.",
                      {static_cast<std::int64_t>(fit.reviews), static_cast<std::int64_t>(fit.words)});
    std::wstring text = counts("OptimizeReviews", "Reviews used: %d, of %d words",
                               {static_cast<std::int64_t>(fit.reviews), static_cast<std::int64_t>(fit.words)}) +
                        L"\n\n" +
                        WithTexts(UiWideOr("OptimizeLogLoss", "Log loss (lower is better): %s now, %s fitted"),
                                  {DecimalWide(fit.current.logLoss), DecimalWide(fit.fitted.logLoss)}) +
                        L"\n" +
                        WithTexts(UiWideOr("OptimizeRmse", "RMSE over bins (lower is better): %s now, %s fitted"),
                                  {DecimalWide(fit.current.rmseBins), DecimalWide(fit.fitted.rmseBins)}) +
                        L"\n\n";
    if (fit.verdict != review::FitVerdict::Better)
        return text + UiWideOr("OptimizeNotBetter",
                               "The parameters in use predict your answers as well or better: they stay.");
    return text +
           counts("OptimizeDue", "Words due in the next 30 days: %d now, %d with the fitted parameters",
                  {due.current, due.fitted}) +
           L"\n\n" + UiWideOr("OptimizeQuestion", "Use the fitted parameters for this pair?");
}

// The fit and the due counts under it run under the progress window; the questions after it.
bool OptimizeReview(HWND owner) {
    const std::optional<review::PairReviewFiles> files = review::ReviewFilesOf(*CurrentPair);
    if (!files) return false;
    std::string log;
    if (!platform::ReadFileBytes(files->log, log)) log.clear();
    const std::int64_t now = ReviewClock();
    const review::ReplayRules rules = review::RulesFromSettings(LocalDayOffset(now));
    review::LogFit fit;
    std::optional<review::DueChange> due;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    WhileShowing(Show, Close, [&] {
        fit = review::FitLog(log, rules.params.model.weights(), rules.dayOffsetMs, Progress);
        // The replays of a long log take seconds too: the full bar stays painted, Esc still stops.
        if (fit.verdict == review::FitVerdict::Better &&
            !(due = review::DueChangeOf(log, rules, fit.fit.weights, now, review::kChartDays,
                                        [] { return Progress(1, 1); })))
            fit.verdict = review::FitVerdict::Cancelled;
    });
    SetCursor(previous);
    if (fit.verdict == review::FitVerdict::Cancelled) return false;
    const std::wstring text = OptimizeReportText(fit, due.value_or(review::DueChange{}));
    if (fit.verdict != review::FitVerdict::Better) {
        UiMessageBox(owner, text, Ui(UiKey::Dictionary), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (UiMessageBox(owner, text, Ui(UiKey::Dictionary), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    if (review::StoreFit(files->params, fit, now) != 0) {
        UiMessageBox(owner,
                     UiWideOr("OptimizeNotStored", "The fitted parameters could not be stored; the schedule stays."),
                     Ui(UiKey::Dictionary), MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}
