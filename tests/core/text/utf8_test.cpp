#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// Each sequence at every place in and across the eight-byte blocks the check reads, with ASCII
// before and after it, and at the very end of the text.
TEST(Utf8, EverySequenceIsJudgedWhereverItFallsInTheText) {
    const std::pair<bool, std::vector<const char*>> cases[] = {
        {true, {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xC3\xA9\xC3\xBC"}},
        {false,
         {"\xC3", "\xE2\x82", "\x80", "\xC3\x41", "\xF8\x88\x80\x80\x80", "\xE2\x82\xAC\xA9", "\xFF", "\xF0\x9F\x98"}},
    };
    for (const auto& [valid, sequences] : cases)
        for (const char* bytes : sequences)
            for (std::size_t before = 0; before < 10; ++before)
                for (const std::size_t after : {0, 1, 9}) {
                    const std::string text = std::string(before, 'a') + bytes + std::string(after, 'b');
                    EXPECT_EQ(ValidUtf8(text), valid) << "\"" << bytes << "\" after " << before << ", before " << after;
                }
    EXPECT_TRUE(ValidUtf8(std::string(17, 'x')));
}
