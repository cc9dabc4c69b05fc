#include "ui/record_pager.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/catalogue/catalogue.h"
#include "core/lookup/pager.h"
#include "core/store/store.h"
#include "ui/controls.h"
#include "ui/gdi.h"
#include "ui/ui_text.h"

namespace {

// The cells given a new text since the rows were last painted. When more are set than it
// holds, the rest are painted by their own paint messages.
HWND newCells[4 * kMaxPageRows];
int newCellCount;

// Under Wine each child window that paints itself costs five server round trips (finding
// it, hiding and showing the caret, its update and visible regions), so the cells a move
// set are drawn by their own code through one context of their parent instead, and
// validated. The cells of a page lie side by side under no other child, so the parent's
// context may draw them; the focused cell keeps its own paint, which hides its caret first.
void PaintNewCells(HWND parent) {
    const HWND focus = GetFocus();
    std::optional<WindowDc> dc;
    for (int i = 0; i < newCellCount; ++i) {
        const HWND cell = newCells[i];
        if (cell == focus || GetParent(cell) != parent || !IsWindowVisible(cell)) continue;
        if (!dc) dc.emplace(parent, DCX_CACHE | DCX_CLIPSIBLINGS);
        if (!*dc) break;
        POINT origin{0, 0};
        MapWindowPoints(cell, parent, &origin, 1);
        RECT client;
        GetClientRect(cell, &client);
        const int saved = SaveDC(*dc);
        SetViewportOrgEx(*dc, origin.x, origin.y, nullptr);
        IntersectClipRect(*dc, 0, 0, client.right, client.bottom);
        ValidateRect(cell, nullptr);
        SendMessageW(cell, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(HDC{*dc}), PRF_CLIENT);
        RestoreDC(*dc, saved);
    }
    newCellCount = 0;
}

}  // namespace

void RecordPager::Attach(HWND scrollBar, std::int32_t rows, std::int32_t unit) {
    scroll_ = scrollBar;
    rows_ = rows;
    unit_ = unit;
}

void RecordPager::ShowFrom(std::int32_t top) {
    top_ = shownTop_ = top;
    show_(top);
    newCellCount = 0;  // painted with the window, which is opening or being filled afresh
    SetScrollRange(scroll_, SB_CTL, 0, ScrollRangeEnd(count_(), rows_, unit_), TRUE);
    SetScrollPos(scroll_, SB_CTL, top / unit_, TRUE);
}

void RecordPager::ShowEnd() { ShowFrom(std::max(count_() - rows_, 0)); }

void RecordPager::Settle(std::int32_t top) {
    if (top == shownTop_) return;
    top_ = SettledTop(top, count_(), rows_);
    show_(top_);
    if (const int position = top_ / unit_; position != GetScrollPos(scroll_, SB_CTL)) {
        SetScrollPos(scroll_, SB_CTL, position, FALSE);
        InvalidateRect(scroll_, nullptr, FALSE);
    }
    shownTop_ = top_;
    // The rows, the bar and the field that moved them are painted before the key returns,
    // in one pass: left to the message loop, each of the dozens of cells would be fetched
    // as a paint message of its own, a server round trip each under Wine.
    PaintNewCells(GetParent(scroll_));
    RedrawWindow(GetParent(scroll_), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void RecordPager::LineUp() { Settle(ScrolledTop(ScrollRequest::LineUp, top_, count_(), rows_, 0, unit_)); }

void RecordPager::LineDown() { Settle(ScrolledTop(ScrollRequest::LineDown, top_, count_(), rows_, 0, unit_)); }

void RecordPager::Scroll(UINT code, int position) {
    // The message carries 16 bits, read as signed; a long file's positions need the bar's own.
    SCROLLINFO info = {sizeof info, SIF_TRACKPOS | SIF_RANGE, 0, 0, 0, 0, 0};
    if (code == SB_THUMBPOSITION && GetScrollInfo(scroll_, SB_CTL, &info) && info.nMax > 0x7FFF)
        position = info.nTrackPos;
    position = position < 0 ? position & 0xFFFF : position;
    ScrollRequest request;
    switch (code) {
        case SB_LINEUP:
            request = ScrollRequest::LineUp;
            break;
        case SB_LINEDOWN:
            request = ScrollRequest::LineDown;
            break;
        case SB_PAGEUP:
            request = ScrollRequest::PageUp;
            break;
        case SB_PAGEDOWN:
            request = ScrollRequest::PageDown;
            break;
        case SB_THUMBPOSITION:
            request = ScrollRequest::ThumbReleased;
            break;
        default:
            return;  // nothing happens until the thumb is released
    }
    Settle(ScrolledTop(request, top_, count_(), rows_, position, unit_));
}

LRESULT RecordPager::SearchFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR data) {
    auto& pager = *reinterpret_cast<RecordPager*>(data);
    if (msg == WM_KEYDOWN) {
        switch (wParam) {
            case VK_RETURN:
                SetWindowTextW(field, L"");
                return 0;
            case VK_UP:
                pager.LineUp();
                return 0;
            case VK_DOWN:
                pager.LineDown();
                return 0;
            case VK_F2:
                if (!pager.editRequest_) break;
                pager.editRequest_();
                return 0;
            case VK_TAB:
                if (!pager.tabRequest_ || !pager.tabRequest_()) break;
                pager.tabTaken_ = true;
                return 0;
        }
    }
    if (msg == WM_CHAR && wParam == '\r') return 0;
    if (msg == WM_CHAR && wParam == '\t' && std::exchange(pager.tabTaken_, false)) return 0;
    return PassOn(field, msg, wParam, lParam);
}

void AttachSearchField(HWND field, RecordPager& pager, std::function<void()> editRequest,
                       std::function<bool()> tabRequest) {
    pager.editRequest_ = std::move(editRequest);
    pager.tabRequest_ = std::move(tabRequest);
    pager.tabTaken_ = false;
    TakeOver(field, RecordPager::SearchFieldProc, reinterpret_cast<LONG_PTR>(&pager));
}

void ShowInCell(HWND cell, const char* text, int charset) {
    const std::wstring wide = WideFromCharset(text, charset);
    wchar_t shown[kMaxTranslationChars + 14];
    const int length = GetWindowTextW(cell, shown, static_cast<int>(std::size(shown)));
    if (static_cast<std::size_t>(length) == wide.size() && wide.size() + 1 < std::size(shown) &&
        wide.compare(0, wide.size(), shown, wide.size()) == 0)
        return;
    SetWindowTextW(cell, wide.c_str());
    if (newCellCount < static_cast<int>(std::size(newCells))) newCells[newCellCount++] = cell;
}

std::int32_t ReadPage(std::int32_t top, int rows, WordRecord page[kMaxPageRows]) {
    const std::int32_t wanted = std::min<std::int32_t>({rows, kMaxPageRows, WordCount + 1 - top});
    return top < 0 || wanted <= 0 ? 0 : std::max(ReadWordRecords(top, wanted, page), 0);
}

void ShowRecordRows(std::int32_t top, const HWND words[], const HWND translations[], int rows) {
    WordRecord page[kMaxPageRows];
    const std::int32_t got = ReadPage(top, rows, page);
    for (int r = 0; r < got; ++r) {
        ShowInCell(words[r], page[r].word, CurrentPair->charset1);
        ShowInCell(translations[r], page[r].translation, CurrentPair->charset2);
    }
}
