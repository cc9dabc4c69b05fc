#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <string>

// Each sequence at every place in and across the eight-byte blocks the check reads, with ASCII
// before and after it, and at the very end of the text.
TEST(Utf8, EverySequenceIsJudgedWhereverItFallsInTheText) {
    const struct {
        const char* bytes;
        bool valid;
    } cases[] = {
        {"\xC3\xA9", true},
        {"\xE2\x82\xAC", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xC3\xA9\xC3\xBC", true},
        {"\xC3", false},
        {"\xE2\x82", false},
        {"\x80", false},
        {"\xC3\x41", false},
        {"\xF8\x88\x80\x80\x80", false},
        {"\xE2\x82\xAC\xA9", false},
        {"\xFF", false},
        {"\xF0\x9F\x98", false},
    };
    for (const auto& c : cases)
        for (std::size_t before = 0; before < 10; ++before)
            for (const std::size_t after : {0, 1, 9}) {
                const std::string text = std::string(before, 'a') + c.bytes + std::string(after, 'b');
                EXPECT_EQ(ValidUtf8(text), c.valid) << "\"" << c.bytes << "\" after " << before << ", before " << after;
            }
    EXPECT_TRUE(ValidUtf8(""));
    EXPECT_TRUE(ValidUtf8(std::string(17, 'x')));
}
