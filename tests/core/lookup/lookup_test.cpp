#include <gtest/gtest.h>

#include "core/editing/palette_characters.h"
#include "core/lookup/pager.h"
#include "core/lookup/reading.h"
#include "core/lookup/sounds.h"
#include "test_support.h"

TEST(Pager, MovesStayOnAFullPage) {
    // A scroll position stands for 10 records in the search window, 8 in the practice-list
    // window's word pane and 1 in its list pane.
    const struct {
        ScrollRequest request;
        std::int32_t top, count, rows, unit, thumb, expected;
    } cases[] = {
        {ScrollRequest::LineDown, 15, 25, 10, 10, 0, 15},     {ScrollRequest::PageDown, 10, 25, 10, 10, 0, 15},
        {ScrollRequest::ThumbReleased, 0, 25, 10, 10, 2, 15}, {ScrollRequest::LineUp, 0, 25, 10, 10, 0, 0},
        {ScrollRequest::PageUp, 4, 25, 10, 10, 0, 0},         {ScrollRequest::Other, 7, 25, 10, 10, 3, 7},
        {ScrollRequest::LineDown, 0, 5, 10, 10, 0, 0},        {ScrollRequest::ThumbReleased, 0, 5, 10, 10, 3, 0},
        {ScrollRequest::ThumbReleased, 0, 100, 8, 8, 3, 24},  {ScrollRequest::PageDown, 88, 100, 8, 8, 0, 92},
        {ScrollRequest::ThumbReleased, 0, 20, 8, 1, 5, 5},    {ScrollRequest::PageDown, 5, 20, 8, 1, 0, 12},
        {ScrollRequest::Other, 16, 25, 10, 10, 0, 15},        {ScrollRequest::PageUp, 14, 25, 10, 10, 0, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(SettledTop(ScrolledTop(c.request, c.top, c.count, c.rows, c.thumb, c.unit), c.count, c.rows),
                  c.expected)
            << c.top << " of " << c.count;
    EXPECT_EQ(ScrollRangeEnd(25, 10, 10), 1);
    EXPECT_EQ(ScrollRangeEnd(5, 10, 10), 0);
    EXPECT_EQ(ScrollRangeEnd(100, 8, 8), 11);  // thumb 11 shows 88-95, the last full page 92-99
    EXPECT_EQ(ScrollRangeEnd(20, 8, 1), 12);
    EXPECT_EQ(ClampRows(0), 1);
    EXPECT_EQ(ClampRows(40), 25);
}

TEST(Sounds, NamesPiecesAndExistingFiles) {
    WorkDir dir;
    EXPECT_EQ(SoundFileName("english", "House?"), "sound\\english\\House?.wav");
    EXPECT_FALSE(SoundFileName("english", std::string(260, 'x')).has_value());
    WriteFile("sound/dutch/woning.wav", "RIFF");
    WriteFile("sound/english/house.wav", "RIFF");
    EXPECT_EQ(WordSounds("english", "house"), std::vector<std::string>{"sound\\english\\house.wav"});
    EXPECT_EQ(TranslationSounds("dutch", "huis, woning"), std::vector<std::string>{"sound\\dutch\\woning.wav"});
}

TEST(Sounds, OnlyWordsThatCanNameAFileAreRecorded) {
    for (const char* word : {"house", "don't", "well-known", "caf\xE9", "house.", "con-man", "console"})
        EXPECT_TRUE(CanNameSoundFile(word)) << word;
    for (const char* word : {"", "wat?", "a:b", "1/2", "back\\slash", "\"quoted\"", "a*", "<tag>", "a|b", "tab\t",
                             "CON", "nul", "Lpt1", "com9", "CONIN$", "aux.x", "prn "})
        EXPECT_FALSE(CanNameSoundFile(word)) << word;
}

TEST(Palette, FileFirstLineOrBuiltInSet) {
    WorkDir dir;
    const std::string builtIn = PaletteCharacters("klingon");
    ASSERT_EQ(builtIn.size(), 66u);
    EXPECT_EQ(builtIn.front(), '\xC0');
    EXPECT_EQ(builtIn[32], '\xBF');
    EXPECT_EQ(builtIn.back(), '\xA7');
    WriteFile("charset/greek.chs", "\xE1\xE2\xE3\xE4\xE5\xE6\xE7\r\nsecond line");
    EXPECT_EQ(PaletteCharacters("greek"), "\xE1\xE2\xE3\xE4\xE5\xE6\xE7");
    WriteFile("charset/long.chs", std::string(300, 'x'));
    EXPECT_EQ(PaletteCharacters("long").size(), 254u);
    // CR alone ends the line too: no line break becomes a button, nor the next line's letters.
    WriteFile("charset/greek.chs", "\xE1\xE2\rsecond\rthird");
    EXPECT_EQ(PaletteCharacters("greek"), "\xE1\xE2");
}

// Read under AddressSanitizer: a text without a terminator, carets at and past its end.
TEST(Reading, WordsEndAtSeparatorsAndNothingOutsideTheTextIsRead) {
    const std::string bytes = ",abc";
    const std::vector<char> exact(bytes.begin(), bytes.end());  // no terminator after it
    const std::string_view text(exact.data(), exact.size());
    EXPECT_EQ(WordAt(text, 3), "abc");  // the comma at the very start is no part of it
    EXPECT_EQ(WordAt(text, 0), "");
    EXPECT_EQ(WordAt(text, 4), "");
    EXPECT_EQ(WordAt(text, 1000), "");
    EXPECT_EQ(WordAt(std::string_view(), 0), "");
    EXPECT_EQ(WordAt("{x}~\x7F\xE9", 2), "{x}~\x7F\xE9");
    int separators = 0;
    for (int b = 0; b < 256; ++b) separators += IsWordSeparator(static_cast<unsigned char>(b)) ? 1 : 0;
    EXPECT_EQ(separators, 69);
}
