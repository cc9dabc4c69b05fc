// A page of rows over the records of a file, with its scroll bar: the one mechanism by
// which every window pages through records (one scroll unit stands for ten records).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

class RecordPager {
public:
    // `count` tells how many records there are now; `show` fills the rows from a top.
    RecordPager(std::function<std::int32_t()> count, std::function<void(std::int32_t top)> show)
        : count_(std::move(count)), show_(std::move(show)) {}

    void Attach(HWND scrollBar, std::int32_t rows);
    // The first page, shown afresh: after opening, or when the records changed under it.
    void Reset();
    // Every move ends here: nothing when the top is where the rows already are.
    void Settle(std::int32_t top);
    void LineUp();
    void LineDown();
    // A scroll bar's WM_VSCROLL.
    void Scroll(UINT code, int position);
    std::int32_t top() const { return top_; }
    std::int32_t rows() const { return rows_; }

private:
    std::function<std::int32_t()> count_;
    std::function<void(std::int32_t)> show_;
    HWND scroll_ = nullptr;
    std::int32_t rows_ = 1, top_ = 0, shownTop_ = 0;
};
