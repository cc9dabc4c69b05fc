#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <string>

// Whole characters decode to their code and back to the same bytes; broken ones do not decode.
TEST(Utf8, WholeCharactersDecodeAndEncodeBrokenOnesDoNot) {
    const struct {
        std::string bytes;
        std::uint32_t code;  // 0: no whole character
    } cases[] = {
        {"A", 'A'},         {"\xC3\xA9", 0xE9},       {"\xE2\x82\xAC", 0x20AC}, {"\xF0\x9F\x98\x80", 0x1F600},
        {"\xC3", 0},        {"\xE2\x82", 0},          {"\xA9", 0},              {"\xC3\x41", 0},
        {"\xF8\x80\x80", 0}, {"\xE2\x82\x41", 0},
    };
    for (const auto& c : cases) {
        std::uint32_t code = 0;
        const std::size_t n = DecodeUtf8(c.bytes, 0, code);
        EXPECT_EQ(n, c.code ? c.bytes.size() : 0) << c.bytes;
        EXPECT_EQ(ValidUtf8(c.bytes), c.code != 0) << c.bytes;
        if (!c.code) continue;
        EXPECT_EQ(code, c.code) << c.bytes;
        std::string encoded;
        AppendUtf8(encoded, c.code);
        EXPECT_EQ(encoded, c.bytes);
    }
    // A broken character past the ASCII run that is checked eight bytes at a time.
    EXPECT_FALSE(ValidUtf8("plain ascii text\xC3"));
    EXPECT_TRUE(ValidUtf8("plain ascii, caf\xC3\xA9"));
}

// A character runs over the continuation bytes that follow it, whole or not.
TEST(Utf8, CharacterEndsBeforeTheNextLeadByte) {
    const struct {
        std::string text;
        std::size_t pos, end;
    } cases[] = {{"ab", 0, 1}, {"\xC3\xA9x", 0, 2}, {"\xC3\xA9\xA9x", 0, 3}, {"x\xE2\x82", 1, 3}, {"\xA9\xA9", 0, 2}};
    for (const auto& c : cases) EXPECT_EQ(Utf8CharacterEnd(c.text, c.pos), c.end) << c.text;
}
