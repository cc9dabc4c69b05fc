#include "core/store/record_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// Bytes laid out by hand: the word at 0, the translation at 31, the mark at 82 (little-endian).
TEST(RecordBytes, WholeRecordsComeAndGoAsTheFileHoldsThem) {
    std::string one(84, '\0');
    one.replace(0, 4, "huis");
    one.replace(31, 5, "house");
    one[82] = '\x02';
    std::string unterminated(84, 'x');
    const struct {
        std::string bytes;
        std::size_t records;
    } cases[] = {
        {"", 0}, {one.substr(0, 83), 0}, {one, 1}, {one + unterminated.substr(0, 83), 1}, {one + unterminated, 2},
    };
    for (const auto& c : cases) {
        const std::vector<WordRecord> records = RecordsFromBytes(c.bytes);
        ASSERT_EQ(records.size(), c.records) << c.bytes.size() << " bytes";
        EXPECT_EQ(BytesOfRecords(records), std::string_view(c.bytes).substr(0, 84 * c.records));
    }
    const std::vector<WordRecord> records = RecordsFromBytes(one + unterminated);
    EXPECT_STREQ(records[0].word, "huis");
    EXPECT_STREQ(records[0].translation, "house");
    EXPECT_EQ(records[0].deleted, 2);
    EXPECT_EQ(std::memchr(records[1].word, '\0', sizeof records[1].word), nullptr);  // left for the caller
}
