#include "core/review/review_log_csv.h"

#include <gtest/gtest.h>

namespace {

// The rows the optimizer gets of a log: cards numbered by a word's first line, state 0 for a
// first review and 2 after it, quoted words read whole and told apart without case. Which
// lines are sound is the log's test, the count of the others the wordlist command's.
TEST(ReviewLogCsvTest, CardsAreNumberedByTheirWordsFirstLines) {
    const review::ReviewLogCsv csv = review::ReviewLogToCsv(
        "10,\"a,b\",2,2500\r\n"
        "11,\"say \"\"hi\"\"\",3,0\r\n"
        "12,\"A,B\",4,900\r\n"
        "13,a,1,0\r\n");
    EXPECT_EQ(csv.text,
              "card_id,review_time,review_rating,review_state,review_duration\n"
              "1,10,2,0,2500\n"
              "2,11,3,0,0\n"
              "1,12,4,2,900\n"
              "3,13,1,0,0\n");
    EXPECT_EQ(std::tuple(csv.reviews, csv.words), std::tuple(4u, 3u));
}

}  // namespace
