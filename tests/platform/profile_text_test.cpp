#include "platform/profile_text.h"

#include <gtest/gtest.h>

TEST(ProfileText, ReadsKeysOfTheirOwnSectionOnly) {
    const std::string text = "[Other]\r\nStayOnTop=5\r\n[dictionary]\r\n  stayontop =  1 \r\nPracticeList=week 1\r\n";
    EXPECT_EQ(ProfileTextGet(text, "Dictionary", "StayOnTop"), "1");
    EXPECT_EQ(ProfileTextGet(text, "Dictionary", "PracticeList"), "week 1");
    EXPECT_EQ(ProfileTextGet(text, "Dictionary", "ClipSearch"), std::nullopt);
}

TEST(ProfileText, WritingKeepsEveryOtherLine) {
    std::string text = "; note\r\n[Dictionary]\r\nA=1\r\nB=2\r\n\r\n[Other]\r\nA=9\r\n";
    text = ProfileTextSet(text, "Dictionary", "b", "3");
    EXPECT_EQ(text, "; note\r\n[Dictionary]\r\nA=1\r\nb=3\r\n\r\n[Other]\r\nA=9\r\n");
    text = ProfileTextSet(text, "Dictionary", "C", "4");
    EXPECT_EQ(text, "; note\r\n[Dictionary]\r\nA=1\r\nb=3\r\nC=4\r\n\r\n[Other]\r\nA=9\r\n");
    EXPECT_EQ(ProfileTextSet("", "Dictionary", "A", "1"), "[Dictionary]\nA=1\n");
    EXPECT_EQ(ProfileTextSet("[X]\nY=1", "Dictionary", "A", "1"), "[X]\nY=1\n[Dictionary]\nA=1\n");
}

TEST(ProfileText, IntegersTakeLeadingDigits) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42}, {" -7", -7}, {"12abc", 12}, {"abc", 0}, {"99999999999999", 2147483647}};
    for (auto [text, value] : cases) EXPECT_EQ(ProfileTextToInt(text), value) << text;
}

// Files edited elsewhere may end lines in CR alone: such a line stays a line of its own, and
// a line written takes the file's ends.
TEST(ProfileText, CarriageReturnAloneEndsALine) {
    const std::string crOnly = "[Other]\rListID=5\r[Dictionary]\rListID=800\rStayOnTop=1\r";
    EXPECT_EQ(ProfileTextGet(crOnly, "Dictionary", "StayOnTop"), "1");
    EXPECT_EQ(ProfileTextGet(crOnly, "Other", "ListID"), "5");
    const std::string mixed = "[Dictionary]\nA=1\r\nB=2\rC=3";
    EXPECT_EQ(ProfileTextGet(mixed, "Dictionary", "B"), "2");
    EXPECT_EQ(ProfileTextGet(mixed, "Dictionary", "C"), "3");

    std::string text = ProfileTextSet(crOnly, "Dictionary", "ListID", "801");
    EXPECT_EQ(text, "[Other]\rListID=5\r[Dictionary]\rListID=801\rStayOnTop=1\r");
    // Writing the same value again changes nothing, so the file cannot grow.
    EXPECT_EQ(ProfileTextSet(text, "Dictionary", "ListID", "801"), text);
    EXPECT_EQ(ProfileTextSet("[Dictionary]\r\nListID=800\r", "Dictionary", "PracticeList", "week 1"),
              "[Dictionary]\r\nListID=800\rPracticeList=week 1\r\n");
    EXPECT_EQ(ProfileTextSet("[X]\rY=1", "Dictionary", "A", "1"), "[X]\rY=1\r[Dictionary]\rA=1\r");
}
