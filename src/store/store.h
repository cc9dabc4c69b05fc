// The store: the word file and the practice-list file of the current pair, open for
// the whole run, read and written one record at a time through CurrentRecord.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/catalogue.h"
#include "store/word_record.h"

extern WordRecord CurrentRecord;
// Set by the windows that leave the word file (or a list) out of order, until they sort it.
extern int ModifiedFlag;
extern std::int32_t WordCount;
extern std::int32_t ListCount;

// Opens the current pair's word file, or shows "Can't open ..." and ends the process;
// then opens the practice-list file, whatever becomes of that.
int OpenStore();
int OpenListFile();
void CountRecords();
void CountListRecords();
int ReadWord(std::int32_t n);
int ReadListEntry(std::int32_t n);
int WriteWord(std::int32_t n);
int WriteListEntry(std::int32_t n);
void CloseStore();
void CloseListFile();

// Reads `count` word-file records from `first` on into `out` with one transfer; the
// sort loads whole files this way. The number read, or -1.
std::int32_t ReadWordRecords(std::int32_t first, std::int32_t count, WordRecord* out);

// Index of a record whose word equals the key under the pair's comparator, else the
// index where the key belongs; searches records 0 to limit - 1.
std::int32_t FindWord(const char* key, std::int32_t limit);
inline std::int32_t FindWord(const char* key) { return FindWord(key, WordCount); }

// What the store may change. The command-line companion only looks, or only rewrites
// the word file; the program may change both files.
enum class StoreAccess { ReadWrite, WordFileOnly, ReadOnly };
void SetStoreAccess(StoreAccess access);

// Paths of the pair's files; none when a path would be too long.
std::optional<std::string> WordFilePath(const WordListDescriptor& pair);
std::optional<std::string> ListFilePath(const WordListDescriptor& pair, const std::string& listName);

// Record reads since the start, for measuring searches.
extern std::uint64_t StoreRecordReads;
