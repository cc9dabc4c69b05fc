// What the optimizer learns from and is measured on: a log's reviews grouped by word, whole
// days apart. Every review after a word's first that came on a later day is one item: the
// word's history up to it, and whether it was recalled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace review {

struct ReviewItems {
    // Per word its reviews in log order, each as days since the one before << 3 | rating; a
    // word's first has 0 days. Packed, so a log of a million lines fits in a few megabytes.
    std::vector<std::uint32_t> reviews;
    std::vector<std::uint32_t> wordStart;  // per word its first review, and one past the last
    // In log order: the item's review (an index into `reviews`) and its word.
    std::vector<std::uint32_t> items, itemWord;
    std::size_t lines = 0;    // sound lines taken
    std::size_t damaged = 0;  // lines passed over

    std::size_t Words() const { return wordStart.empty() ? 0 : wordStart.size() - 1; }
    static int Rating(std::uint32_t review) { return static_cast<int>(review & 7); }
    static std::uint32_t Days(std::uint32_t review) { return review >> 3; }
};

// Days are counted on a clock `dayOffsetMs` ahead of UTC, as the replay counts them.
ReviewItems ItemsFromLog(std::string_view log, std::int64_t dayOffsetMs);

}  // namespace review
