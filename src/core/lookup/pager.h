// Paging through the word file a page of rows at a time: where a move lands.
#pragma once

#include <cstdint>

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbReleased, Other };

// A requested top brought back so the page stays full where it can: at most
// count - rows, at least 0.
std::int32_t SettledTop(std::int32_t top, std::int32_t count, std::int32_t rows);
// The top after a scroll request; `thumb` is the scroll position when the thumb is
// released (one unit is 10 records).
std::int32_t ScrolledTop(ScrollRequest request, std::int32_t top, std::int32_t count, std::int32_t rows,
                         std::int32_t thumb);
// The scroll bar's last position: (count - rows) / 10, at least 0.
std::int32_t ScrollRangeEnd(std::int32_t count, std::int32_t rows);
// Rows from a setting: 1 to 25.
std::int32_t ClampRows(std::int32_t rows);
