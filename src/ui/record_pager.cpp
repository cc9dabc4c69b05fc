#include "ui/record_pager.h"

#include <algorithm>

#include "core/catalogue/catalogue.h"
#include "core/lookup/pager.h"
#include "core/store/store.h"
#include "ui/ui_text.h"

void RecordPager::Attach(HWND scrollBar, std::int32_t rows, std::int32_t unit) {
    scroll_ = scrollBar;
    rows_ = rows;
    unit_ = unit;
}

void RecordPager::ShowFrom(std::int32_t top) {
    top_ = shownTop_ = top;
    show_(top);
    SetScrollRange(scroll_, SB_CTL, 0, ScrollRangeEnd(count_(), rows_, unit_), TRUE);
    SetScrollPos(scroll_, SB_CTL, top / unit_, TRUE);
}

void RecordPager::ShowEnd() { ShowFrom(std::max(count_() - rows_, 0)); }

void RecordPager::Settle(std::int32_t top) {
    if (top == shownTop_) return;
    top_ = SettledTop(top, count_(), rows_);
    show_(top_);
    // The bar is drawn with the rows at the next paint rather than at once: a themed scroll
    // bar's drawing costs nearly as many server round trips under Wine as setting the page,
    // and keys typed faster than the window paints then draw it once.
    if (const int position = top_ / unit_; position != GetScrollPos(scroll_, SB_CTL)) {
        SetScrollPos(scroll_, SB_CTL, position, FALSE);
        InvalidateRect(scroll_, nullptr, FALSE);
    }
    shownTop_ = top_;
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

// The field's pager rides in its user data: a comctl32 subclass would look its data up in a
// window property, a server round trip under Wine for every message the field gets.
LRESULT CALLBACK RecordPager::SearchFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& pager = *reinterpret_cast<RecordPager*>(GetWindowLongPtrW(field, GWLP_USERDATA));
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
        }
    }
    if (msg == WM_CHAR && wParam == '\r') return 0;
    return CallWindowProcW(pager.fieldProc_, field, msg, wParam, lParam);
}

void AttachSearchField(HWND field, RecordPager& pager) {
    SetWindowLongPtrW(field, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pager));
    pager.fieldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordPager::SearchFieldProc)));
}

void ShowRecordRows(std::int32_t top, const HWND words[], const HWND translations[], int rows) {
    for (int r = 0; r < rows; ++r) {
        if (ReadWord(top + r) != 0) break;
        SetFieldText(words[r], CurrentRecord.word, CurrentPair->charset1);
        SetFieldText(translations[r], CurrentRecord.translation, CurrentPair->charset2);
    }
}
