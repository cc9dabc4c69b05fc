// The 84-byte record of word files and practice-list files.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#pragma pack(push, 1)
struct WordRecord {
    char word[31];         // at most 30 characters, zero-terminated
    char translation[51];  // at most 50 characters; translations joined by ", "
    std::int16_t deleted;  // 0 live; any other value deleted (word file) or marked (list file)
};
#pragma pack(pop)

static_assert(sizeof(WordRecord) == 84, "a record is 84 bytes on disk");
static_assert(offsetof(WordRecord, translation) == 31 && offsetof(WordRecord, deleted) == 82,
              "record fields lie at their file offsets");
static_assert(std::endian::native == std::endian::little, "records are stored little-endian as they are");

constexpr std::size_t kMaxWordChars = sizeof(WordRecord::word) - 1;
constexpr std::size_t kMaxTranslationChars = sizeof(WordRecord::translation) - 1;

// The one rule for the mark, the sort's: any value but 0 is deleted (word file) or
// marked for removal (list file).
inline bool IsDeleted(const WordRecord& record) { return record.deleted != 0; }

// A field whose terminator is missing in the file still ends inside the field.
void TerminateFields(WordRecord& record);

// Copies text into a field, cut to the field's length, and terminates it.
void SetWord(WordRecord& record, std::string_view text);
void SetTranslation(WordRecord& record, std::string_view text);
