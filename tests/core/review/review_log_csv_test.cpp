#include "core/review/review_log_csv.h"

#include <gtest/gtest.h>

namespace {

const char kHeader[] = "card_id,review_time,review_rating,review_state,review_duration\n";

struct CsvCase {
    const char* name;
    const char* log;
    const char* rows;  // below the header, written by hand from the log
    std::size_t reviews, words;
};

// The rows the optimizer gets of a log: cards numbered by a word's first line, state 0 for a
// first review and 2 after it, quoted words read whole. Which lines are sound is the log's
// test, the count of the others the wordlist command's.
const CsvCase kCases[] = {
    {"empty log", "", "", 0, 0},
    {"cards in the order of first lines",
     "1767600000000,huis,3,2500\r\n"
     "1767600001000,boom,1,900\r\n"
     "1767859200000,huis,4,1200\r\n",
     "1,1767600000000,3,0,2500\n"
     "2,1767600001000,1,0,900\n"
     "1,1767859200000,4,2,1200\n",
     3, 2},
    {"quoted words are one word, told apart without case",
     "10,\"a,b\",2,0\r\n"
     "11,\"say \"\"hi\"\"\",3,0\r\n"
     "12,\"A,B\",4,0\r\n"
     "13,a,1,0\r\n",
     "1,10,2,0,0\n"
     "2,11,3,0,0\n"
     "1,12,4,2,0\n"
     "3,13,1,0,0\n",
     4, 3},
};

TEST(ReviewLogCsvTest, RowsOfEachLog) {
    for (const CsvCase& c : kCases) {
        const review::ReviewLogCsv csv = review::ReviewLogToCsv(c.log);
        EXPECT_EQ(csv.text, std::string(kHeader) + c.rows) << c.name;
        EXPECT_EQ(csv.reviews, c.reviews) << c.name;
        EXPECT_EQ(csv.words, c.words) << c.name;
    }
}

}  // namespace
