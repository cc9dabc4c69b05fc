// The store: the word file and the practice-list file of the current pair, open for
// the whole run, read and written one record at a time through CurrentRecord.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/store/word_record.h"

struct WordListDescriptor;

extern WordRecord CurrentRecord;
// Set by the windows that leave the word file (or a list) out of order, until they sort it.
extern int ModifiedFlag;
extern std::int32_t WordCount;
extern std::int32_t ListCount;

// Opens the current pair's word file, or shows "Can't open ..." and ends the process.
// The practice-list file is opened by the list storage; the two together by OpenStore.
int OpenWordFile();
// The same without the message and the end: -1 with no word file open. For a visit to
// another pair that must not end the program half way through a change.
int TryOpenWordFile();
// Opens a list file for reading and writing, creating it empty when it is missing (for
// reading only under StoreAccess other than ReadWrite). 0, or -1 with no list file open.
int OpenListFileAt(const std::string& path);
// WordCount and ListCount from the open files' sizes; 0 for a file that is not open.
void CountRecords();
void CountListRecords();
int ReadWord(std::int32_t n);
int ReadListEntry(std::int32_t n);
int WriteWord(std::int32_t n);
int WriteListEntry(std::int32_t n);
void CloseWordFile();
void CloseListFile();
void CloseStore();

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

// The number of records in a pair's word file from its size, without opening the store
// or changing any file; none when the file is missing or unreadable.
std::optional<std::int32_t> CountWordFileRecords(const WordListDescriptor& pair);

// Record reads since the start, for measuring searches.
extern std::uint64_t StoreRecordReads;
