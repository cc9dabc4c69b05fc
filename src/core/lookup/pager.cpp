#include "core/lookup/pager.h"

#include <algorithm>

std::int32_t SettledTop(std::int32_t top, std::int32_t count, std::int32_t rows) {
    if (count - top < rows) top = count - rows;
    return std::max(top, 0);
}

std::int32_t ScrolledTop(ScrollRequest request, std::int32_t top, std::int32_t count, std::int32_t rows,
                         std::int32_t thumb, std::int32_t unit) {
    const std::int32_t last = count - rows;
    switch (request) {
        case ScrollRequest::LineUp:
            return std::max(top - 1, 0);
        case ScrollRequest::LineDown:
            return std::min(top + 1, last);
        case ScrollRequest::PageUp:
            return std::max(top - rows, 0);
        case ScrollRequest::PageDown:
            return std::min(top + rows, last);
        case ScrollRequest::ThumbReleased:
            return unit * thumb;
        case ScrollRequest::Other:
            break;
    }
    return top;
}

std::int32_t ScrollRangeEnd(std::int32_t count, std::int32_t rows, std::int32_t unit) {
    return std::max((count - rows) / unit, 0);
}

std::int32_t ClampRows(std::int32_t rows) { return std::clamp(rows, 1, 25); }
