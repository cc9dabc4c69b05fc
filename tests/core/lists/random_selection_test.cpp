#include "core/lists/random_selection.h"

#include "core/session/session.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

// The pair german into dutch over `records`, the list week1 current.
void Open(const std::vector<WordRecord>& records) { OpenPair("[languages]\ngerman\n", records, "week1"); }

using RandomSelectionTest = InWorkDir;

std::vector<WordRecord> Numbered(int n, int deletedEvery = 0) {
    std::vector<WordRecord> records;
    for (int i = 0; i < n; ++i)
        records.push_back(Record(NumberedWord(i), "t", deletedEvery && i % deletedEvery ? 1 : 0));
    return records;
}

// Draws the given values in turn, again from the start when they run out.
DrawSource Values(std::vector<std::uint32_t> values) {
    return [values, i = std::size_t{0}]() mutable { return values[i++ % values.size()]; };
}

}  // namespace

TEST_F(RandomSelectionTest, CountsFromOneToTheWordsDrawnToAppendOrReplaceAndMayRepeat) {
    Open(Numbered(20));
    // Read as a number of win.ini is (the profile text's test), as far as the box takes digits.
    EXPECT_EQ(DrawCountOf("1234567890"), 123456789);
    for (int n : {0, -3, 21}) EXPECT_FALSE(DrawCountAllowed(n)) << n;
    for (int n : {1, 20}) EXPECT_TRUE(DrawCountAllowed(n)) << n;
    EXPECT_EQ(DrawRandomWords(3, true, Values({7, 27, 19})), 3);  // 27 wraps to 7
    EXPECT_EQ(WordsIn("lists/week1/ger_dut.ls"), (std::vector<std::string>{"w00007", "w00007", "w00019"}));
    EXPECT_EQ(DrawRandomWords(2, false, Values({0})), 2);
    EXPECT_EQ(WordsIn("lists/week1/ger_dut.ls").size(), 5u);
    EXPECT_EQ(DrawRandomWords(5, true, StandardDraw), 5);
    EXPECT_EQ(ListCount, 5);
    EXPECT_EQ(DrawRandomWords(21, true), 0);  // more than the file holds
    EXPECT_EQ(WordsIn("lists/week1/ger_dut.ls").size(), 5u);
}

TEST_F(RandomSelectionTest, EveryRecordCanBeDrawnButNoDeletedOne) {
    Open(Numbered(40000));
    EXPECT_EQ(DrawRandomWords(2, true, Values({39999, 32768})), 2);  // past the standard generator's 15 bits
    EXPECT_EQ(WordsIn("lists/week1/ger_dut.ls"), (std::vector<std::string>{"w39999", "w32768"}));
    Open(Numbered(1000, 1000));  // only record 0 is live
    EXPECT_EQ(DrawRandomWords(50, true, StandardDraw), 50);
    for (const WordRecord& r : ReadRecords("lists/week1/ger_dut.ls")) EXPECT_STREQ(r.word, "w00000");
    Open({Record("a", "", 1), Record("b", "", 1)});
    EXPECT_EQ(DrawRandomWords(3, true, StandardDraw), 0);  // nothing to draw, and no endless search
}
