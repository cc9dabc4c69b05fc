#include "core/text/lines.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

// The lines written as "text|end", one after another: where each break falls, and which it is.
TEST(Lines, EachLineKeepsTheBreakThatEndedIt) {
    using enum LineBreaks;
    const std::tuple<std::string, LineBreaks, std::string> cases[] = {
        {"", Any, ""},
        {"a\nb\r\nc\rd", Any, "a|\n b|\r\n c|\r d| "},
        {"\r\r\n\n\r", Any, "|\r |\r\n |\n |\r "},
        {"a\rb\nc\r\r\nd\r", LineFeed, "a\rb|\n c\r|\r\n d|\r "},
        {"\r\n\n\r\rb", LineFeed, "|\r\n |\n \r\rb| "}};
    for (const auto& [text, breaks, expected] : cases) {
        std::string lines;
        for (const TextLine& line : SplitLines(text, breaks))
            lines += std::string(line.text) + "|" + std::string(line.end) + " ";
        EXPECT_EQ(lines, expected) << text;
    }
}
