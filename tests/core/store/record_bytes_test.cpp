#include "core/store/record_bytes.h"

#include <gtest/gtest.h>

#include <string>

// Bytes laid out by hand: the word at 0, the translation at 31, the mark at 82 (little-endian).
TEST(RecordBytes, WholeRecordsComeAndGoAsTheFileHoldsThem) {
    std::string bytes = std::string("huis").append(27, '\0') + "house" + std::string(46, '\0') + "\x02" + '\0';
    bytes.append(84 + 83, 'x');  // a record whose fields run to their ends, then a partial one
    for (std::size_t length : {0, 83, 84, 167, 168, 251}) {
        const std::vector<WordRecord> records = RecordsFromBytes(std::string_view(bytes).substr(0, length));
        EXPECT_EQ(BytesOfRecords(records), std::string_view(bytes).substr(0, length / 84 * 84)) << length;
    }
    const std::vector<WordRecord> records = RecordsFromBytes(bytes);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_STREQ(records[0].word, "huis");
    EXPECT_STREQ(records[0].translation, "house");
    EXPECT_EQ(records[0].deleted, 2);
}
