// Keystroke to drawn rows in the search window on a word file of 500,000 records, through
// the real window from outside as a user's typing reaches it: run by tools/bench.sh.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "driver.h"

namespace {

class Keystrokes : public EndToEnd {};

TEST_F(Keystrokes, OnHalfAMillionRecords) {
    constexpr int kRecords = 500000, kKeys = 300;
    std::vector<WordRecord> records(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        char word[16], translation[24];
        std::snprintf(word, sizeof word, "w%07d", i * 2);
        std::snprintf(translation, sizeof translation, "translation %d", i % 977);
        SetWord(records[static_cast<std::size_t>(i)], word);
        SetTranslation(records[static_cast<std::size_t>(i)], translation);
    }
    fixture.WriteRecords("dut_eng.gk", records);
    ASSERT_TRUE(Start());
    HWND search = Open(main, 12, "zoeken");
    ASSERT_NE(search, nullptr);
    HWND field = GetDlgItem(search, 30), firstWord = GetDlgItem(search, 100);
    // The rows hold their new texts when the field's text is in, and are drawn once the
    // window has painted what that changed: the key is done when the user sees it.
    auto type = [&](const char* text) { SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); };
    auto draw = [&] { RedrawWindow(search, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); };
    type("w0000001");  // the first paint is not a keystroke
    draw();
    ASSERT_TRUE(ShowsText(firstWord, "w0000002"));
    std::vector<double> set, drawn;
    auto since = [](std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    for (int k = 0; k < kKeys; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "w%07d", (k * 7919 * 13) % (2 * kRecords));
        const auto start = std::chrono::steady_clock::now();
        type(text);
        set.push_back(since(start));
        draw();
        drawn.push_back(since(start));
    }
    for (auto [name, times] : {std::pair{"rows set", &set}, std::pair{"rows drawn", &drawn}}) {
        std::sort(times->begin(), times->end());
        std::printf("keystroke to %s, %d records: median %.2f ms, p95 %.2f ms, worst %.2f ms over %d keystrokes\n",
                    name, kRecords, (*times)[kKeys / 2], (*times)[kKeys * 95 / 100], times->back(), kKeys);
    }
    // The rows start at the last key's word, or the next word after it (the words are even).
    const int last = ((kKeys - 1) * 7919 * 13) % (2 * kRecords);
    char expected[16];
    std::snprintf(expected, sizeof expected, "w%07d", last + last % 2);
    EXPECT_TRUE(ShowsText(firstWord, expected));
}

}  // namespace
