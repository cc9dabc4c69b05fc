#include "ui/record_pager.h"

#include <algorithm>

#include "core/lookup/pager.h"

void RecordPager::Attach(HWND scrollBar, std::int32_t rows) {
    scroll_ = scrollBar;
    rows_ = rows;
}

void RecordPager::Reset() {
    top_ = shownTop_ = 0;
    show_(0);
    SetScrollRange(scroll_, SB_CTL, 0, ScrollRangeEnd(count_(), rows_), TRUE);
    SetScrollPos(scroll_, SB_CTL, 0, TRUE);
}

void RecordPager::Settle(std::int32_t top) {
    if (top == shownTop_) return;
    top_ = SettledTop(top, count_(), rows_);
    show_(top_);
    SetScrollPos(scroll_, SB_CTL, top_ / 10, TRUE);
    shownTop_ = top_;
}

void RecordPager::LineUp() { Settle(ScrolledTop(ScrollRequest::LineUp, top_, count_(), rows_, 0)); }

void RecordPager::LineDown() { Settle(ScrolledTop(ScrollRequest::LineDown, top_, count_(), rows_, 0)); }

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
    Settle(ScrolledTop(request, top_, count_(), rows_, position));
}
