// Logs and fixtures the review tests share.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/review/review_log.h"
#include "core/review/review_memory.h"
#include "platform/platform.h"

namespace review_test {

constexpr std::int64_t kMonday = 1767600000000;  // 2026-01-05 08:00 UTC

inline std::vector<std::string> WordsOf(const std::vector<const review::WordMemory*>& memories) {
    std::vector<std::string> words;
    for (const review::WordMemory* w : memories) words.push_back(w->word);
    return words;
}

// Words w0, w1, ... first rated `first` on Monday, then on each of `days` after it answered
// as `later` says for each word.
inline std::string Learner(int words, int first, std::initializer_list<int> days,
                           const std::function<int(int)>& later) {
    std::string log;
    for (int w = 0; w < words; ++w) log += review::LogLine({kMonday + w * 1000, "w" + std::to_string(w), first, 1000});
    for (int day : days)
        for (int w = 0; w < words; ++w)
            log +=
                review::LogLine({kMonday + day * review::kDayMs + w * 1000, "w" + std::to_string(w), later(w), 1000});
    return log;
}

// A file of tests/core/review/fitting, the simulated learners of tools/fsrs-fixtures.mjs.
inline std::string FittingFile(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(platform::ReadFileBytes(std::string(DICT_SOURCE_DIR) + "/tests/core/review/fitting/" + name, bytes))
        << name;
    return bytes;
}

}  // namespace review_test
