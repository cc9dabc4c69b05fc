#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

// Whole characters decode to their code and encode back to the same bytes; broken ones do not
// decode, and make the text around them invalid even after a run of ASCII.
TEST(Utf8, WholeCharactersDecodeAndEncodeBrokenOnesDoNot) {
    const std::pair<std::string, std::uint32_t> cases[] = {
        // 0: no whole character
        {"A", 'A'},         {"\xC3\xA9", 0xE9}, {"\xE2\x82\xAC", 0x20AC}, {"\xF0\x9F\x98\x80", 0x1F600},
        {"\xC3", 0},        {"\xA9", 0},        {"\xC3\x41", 0},          {"\xE2\x82\x41", 0},
        {"\xF8\x80\x80", 0}};
    for (const auto& [bytes, code] : cases) {
        std::uint32_t decoded = 0;
        EXPECT_EQ(DecodeUtf8(bytes, 0, decoded), code ? bytes.size() : 0) << bytes;
        EXPECT_EQ(ValidUtf8("eight or more ASCII " + bytes), code != 0) << bytes;
        std::string encoded;
        if (code) AppendUtf8(encoded, decoded);
        EXPECT_EQ(encoded, code ? bytes : "") << bytes;
    }
    EXPECT_EQ(Utf8CharacterEnd("\xC3\xA9\xA9x", 0), 3u);  // continuation bytes past a whole character
    EXPECT_EQ(Utf8CharacterEnd("x\xE2\x82", 1), 3u);
}
