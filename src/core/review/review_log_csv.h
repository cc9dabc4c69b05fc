// The review log in the CSV the FSRS optimizer reads, so a learner can fit the scheduler's
// weights to their own answers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace review {

struct ReviewLogCsv {
    std::string text;         // the header, then one row per sound line of the log
    std::size_t reviews = 0;  // rows below the header
    std::size_t words = 0;    // cards: words told apart as the store tells them
    std::size_t damaged = 0;  // lines left out: damaged, foreign or cut by a crash
};

// A card per word, numbered from 1 in the order of its first line; a word's first review is
// state 0 (new), every later one 2 (review): long-term scheduling has no learning steps.
ReviewLogCsv ReviewLogToCsv(std::string_view log);

}  // namespace review
