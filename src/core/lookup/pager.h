// Paging through the word file a page of rows at a time: where a move lands.
#pragma once

#include <cstddef>
#include <cstdint>

// What a search field of the windows that page through the word file takes of its text.
constexpr std::size_t kSearchFieldChars = 37;

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbReleased, Other };

// A requested top brought back so the page stays full where it can: at most
// count - rows, at least 0.
std::int32_t SettledTop(std::int32_t top, std::int32_t count, std::int32_t rows);
// The top after a scroll request; `thumb` is the scroll position when the thumb is
// released, where one position stands for `unit` records.
std::int32_t ScrolledTop(ScrollRequest request, std::int32_t top, std::int32_t count, std::int32_t rows,
                         std::int32_t thumb, std::int32_t unit);
// The scroll bar's last position: (count - rows) / unit, at least 0.
std::int32_t ScrollRangeEnd(std::int32_t count, std::int32_t rows, std::int32_t unit);
// Rows from a setting: 1 to 25.
std::int32_t ClampRows(std::int32_t rows);
