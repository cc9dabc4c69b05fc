#include "core/store/record_bytes.h"

#include <cstring>

std::vector<WordRecord> RecordsFromBytes(std::string_view bytes) {
    std::vector<WordRecord> records(bytes.size() / sizeof(WordRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(WordRecord));
    return records;
}

std::string_view BytesOfRecords(const std::vector<WordRecord>& records) {
    return {reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WordRecord)};
}
