// A page of rows over the records of a file, with its scroll bar: the one mechanism by
// which every window pages through records, and the search field that moves it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "core/store/word_record.h"

class RecordPager {
public:
    // `count` tells how many records there are now; `show` fills the rows from a top.
    RecordPager(std::function<std::int32_t()> count, std::function<void(std::int32_t top)> show)
        : count_(std::move(count)), show_(std::move(show)) {}

    // One scroll position stands for `unit` records.
    void Attach(HWND scrollBar, std::int32_t rows, std::int32_t unit);
    // The rows shown afresh from a top, with the bar's range and place: after opening, or
    // when the records changed under them.
    void ShowFrom(std::int32_t top);
    void Reset() { ShowFrom(0); }
    // The last full page, or the first page of a short file.
    void ShowEnd();
    // Every move ends here: nothing when the top is where the rows already are.
    void Settle(std::int32_t top);
    void LineUp();
    void LineDown();
    // A scroll bar's WM_VSCROLL.
    void Scroll(UINT code, int position);
    std::int32_t top() const { return top_; }
    std::int32_t rows() const { return rows_; }

private:
    friend void AttachSearchField(HWND field, RecordPager& pager, std::function<void()> editRequest,
                                  std::function<bool()> tabRequest);
    static LRESULT SearchFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR data);

    std::function<std::int32_t()> count_;
    std::function<void(std::int32_t)> show_;
    std::function<void()> editRequest_;
    std::function<bool()> tabRequest_;
    bool tabTaken_ = false;  // so the Tab character that follows its key does not reach the field
    HWND scroll_ = nullptr;
    std::int32_t rows_ = 1, unit_ = 1, top_ = 0, shownTop_ = 0;
};

// The most rows a page has.
constexpr int kMaxPageRows = 25;

// The word-file records of a page of `rows` from `top`, in one read: how many there are.
// As with ReadWord, no record lies beyond the one at WordCount.
std::int32_t ReadPage(std::int32_t top, int rows, WordRecord page[kMaxPageRows]);

// A cell of a row shows a text, which it is given only when it shows something else: an
// edit control converts, measures and invalidates itself for every new text, and when a page
// moves many of its cells keep theirs.
void ShowInCell(HWND cell, const char* text, int charset);

// Word-file records from `top` in rows of word and translation fields, as they are whatever
// their deleted mark; rows past the end of the file keep what they showed.
void ShowRecordRows(std::int32_t top, const HWND words[], const HWND translations[], int rows);

// A search field over a pager: Return empties it (so the search starts again), Up and
// Down move the rows one record, and Return never reaches it as a character. F2 calls
// `editRequest` when one is given: rows that keep the typing off themselves are edited on
// request. Tab goes to `tabRequest` when one is given, and stays there when it returns true;
// otherwise the field gets it as any edit does.
void AttachSearchField(HWND field, RecordPager& pager, std::function<void()> editRequest = {},
                       std::function<bool()> tabRequest = {});
