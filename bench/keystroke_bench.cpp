// Keystroke to drawn rows in the search window on a word file of 500,000 records, and caret
// stops in the reading aid on words found as they are and by their base forms, through the
// real windows from outside as a user's typing and clicks reach them: run by tools/bench.sh.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
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

// German words held as they are, then inflected forms of them (and a compound) that only
// their base forms find, over 500,000 other records, so each look-up bisects a large file.
TEST_F(Keystrokes, CaretStopsOnWordsWithAndWithoutBaseForms) {
    constexpr int kRecords = 500000, kRounds = 40;
    const std::vector<std::string> held = {"Bericht", "gehen", "Haus", "Kind", "sein"};
    const std::vector<std::string> plain = {"gehen", "Haus", "Bericht", "sein", "Kind"};
    const std::vector<std::string> inflected = {"ging", "H\xE4user", "Berichten", "ist", "Kindern", "Polizeiberichten"};
    std::vector<WordRecord> records(held.size() + kRecords);
    for (std::size_t i = 0; i < held.size(); ++i) {
        SetWord(records[i], held[i].c_str());
        SetTranslation(records[i], "x");
    }
    // After every held word in German order, in their own.
    for (int i = 0; i < kRecords; ++i) {
        char word[16];
        std::snprintf(word, sizeof word, "zz%07d", i);
        SetWord(records[held.size() + static_cast<std::size_t>(i)], word);
        SetTranslation(records[held.size() + static_cast<std::size_t>(i)], "x");
    }
    fixture.WriteRecords("ger_eng.gk", records);
    std::string catalogue = fixture.Read("languages.ini");
    catalogue.replace(catalogue.find("dut_eng.gk"), 10, "ger_eng.gk");
    fixture.Write("languages.ini", catalogue);
    std::string text;
    std::vector<std::size_t> plainAt, inflectedAt;
    for (const auto& [words, at] : {std::pair{&plain, &plainAt}, std::pair{&inflected, &inflectedAt}})
        for (const std::string& w : *words) {
            at->push_back(text.size() + 1);
            text += w + " ";
        }
    fixture.Write("caret.txt", text);
    ASSERT_TRUE(Start());
    HWND window = Open(main, 9, "vertaal");
    ASSERT_NE(window, nullptr);
    ChooseFile(window, 1, "caret.txt");
    ASSERT_TRUE(Sync(window));
    HWND box = GetDlgItem(window, 31), firstWord = GetDlgItem(window, 100);
    auto since = [](std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    // The caret put into a word as an arrow key leaves it, then the window drawn.
    auto stop = [&](std::size_t at) {
        const auto start = std::chrono::steady_clock::now();
        SendMessageA(box, EM_SETSEL, at, static_cast<LPARAM>(at));
        SendMessageA(box, WM_KEYUP, VK_RIGHT, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return since(start);
    };
    std::printf("first caret stop on a word that needs base forms (the German dictionary loads): %.1f ms\n",
                stop(inflectedAt[0]));
    ASSERT_TRUE(ShowsText(firstWord, "gehen"));
    std::vector<double> withBase, without;
    // Each stop is on another word than the one before, so each looks its word up.
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t at : plainAt) without.push_back(stop(at));
        for (std::size_t at : inflectedAt) withBase.push_back(stop(at));
    }
    EXPECT_TRUE(ShowsText(firstWord, "Bericht"));  // the compound's last part
    for (auto [name, times] : {std::pair{"found as it is", &without}, std::pair{"found by a base form", &withBase}}) {
        std::sort(times->begin(), times->end());
        std::printf("caret stop to drawn rows, a word %s, %d records: median %.2f ms, p95 %.2f ms over %zu stops\n",
                    name, kRecords, (*times)[times->size() / 2], (*times)[times->size() * 95 / 100], times->size());
    }
}

}  // namespace
