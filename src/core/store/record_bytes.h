// Whole word and list files as records: each 84 bytes of the file one record, as it lies
// in memory.
#pragma once

#include <string_view>
#include <vector>

#include "core/store/word_record.h"

// The whole records of a file's bytes, fields as the file has them (not terminated); a
// partial record at the end is left out.
std::vector<WordRecord> RecordsFromBytes(std::string_view bytes);

// The bytes a file of these records holds; valid while `records` is unchanged.
std::string_view BytesOfRecords(const std::vector<WordRecord>& records);
