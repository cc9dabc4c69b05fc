#include "core/text/lines.h"

#include <gtest/gtest.h>

#include <string>

// Lines written as text|end, one after another: where each break falls, and which it is.
TEST(Lines, EachLineKeepsTheBreakThatEndedIt) {
    const struct {
        std::string text;
        LineBreaks breaks;
        std::string lines;
    } cases[] = {
        {"", LineBreaks::Any, ""},
        {"a", LineBreaks::Any, "a|"},
        {"a\nb\r\nc\rd", LineBreaks::Any, "a|\n b|\r\n c|\r d|"},
        {"\r\r\n\n\r", LineBreaks::Any, "|\r |\r\n |\n |\r"},
        {"a\n\r", LineBreaks::Any, "a|\n |\r"},
        {"a\rb\nc\r\r\nd\r", LineBreaks::LineFeed, "a\rb|\n c\r|\r\n d|\r"},
        {"\r\n\n\r", LineBreaks::LineFeed, "|\r\n |\n |\r"},
        {"a\r\rb", LineBreaks::LineFeed, "a\r\rb|"},
    };
    for (const auto& c : cases) {
        std::string lines;
        for (const TextLine& line : SplitLines(c.text, c.breaks))
            lines += (lines.empty() ? "" : " ") + std::string(line.text) + "|" + std::string(line.end);
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}
