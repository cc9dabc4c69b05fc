#include "core/store/store.h"

#include <cstdio>
#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/store/collation.h"
#include "core/strings/ui_strings.h"
#include "platform/file_writes.h"
#include "platform/message.h"
#include "platform/platform.h"

WordRecord CurrentRecord;
int ModifiedFlag;
std::int32_t WordCount;
std::int32_t ListCount;
std::uint64_t StoreRecordReads;

namespace {

FILE* wordFile;
FILE* listFile;
StoreAccess access = StoreAccess::ReadWrite;

std::int32_t CountOf(FILE* file) {
    if (!file) return 0;
    std::int64_t size = platform::FileSize(file);
    if (size < 0) return 0;
    std::int64_t n = size / static_cast<std::int64_t>(sizeof(WordRecord));
    return n > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(n);
}

// Reads record n of a file into CurrentRecord, which changes only when all 84 bytes arrive.
int ReadRecord(FILE* file, std::int32_t n) {
    if (!file || platform::SeekTo(file, static_cast<std::int64_t>(n) * sizeof(WordRecord)) != 0) return -1;
    WordRecord record;
    ++StoreRecordReads;
    if (std::fread(&record, sizeof record, 1, file) != 1) return -1;
    TerminateFields(record);
    CurrentRecord = record;
    return 0;
}

int WriteRecord(FILE* file, std::int32_t n) {
    if (!file || access == StoreAccess::ReadOnly || (file == listFile && access != StoreAccess::ReadWrite)) return -1;
    if (platform::SeekTo(file, static_cast<std::int64_t>(n) * sizeof(WordRecord)) != 0) return -1;
    if (!platform::WriteBytes(file, &CurrentRecord, sizeof CurrentRecord)) return -1;
    // Reads may follow on the same file; flushing also reports a failed write now.
    return platform::FlushFile(file) ? 0 : -1;
}

}  // namespace

void SetStoreAccess(StoreAccess value) { access = value; }

int TryOpenWordFile() {
    CloseWordFile();
    const std::optional<std::string> path = WordFilePath(*CurrentPair);
    if (path) wordFile = platform::OpenFile(*path, access == StoreAccess::ReadOnly ? "rb" : "r+b");
    return wordFile ? 0 : -1;
}

int OpenWordFile() {
    if (TryOpenWordFile() != 0) {
        const std::optional<std::string> path = WordFilePath(*CurrentPair);
        std::string shown = path ? *path : std::string(Ui(UiKey::PathLanguage)) + WordFileName(*CurrentPair);
        char text[600];
        std::snprintf(text, sizeof text, "Can't open %s   \n\nProgram aborted", shown.c_str());
        ShowWarning(text, Ui(UiKey::Dictionary), MessageOwner::MainWindow);
        EndProcess(1);
    }
    return 0;
}

int OpenListFileAt(const std::string& path) {
    CloseListFile();
    const bool writable = access == StoreAccess::ReadWrite;
    listFile = platform::OpenFile(path, writable ? "r+b" : "rb");
    // Made only when it is missing: a list file that could not be opened for a moment
    // (another program holding it) must not be emptied. Appending never cuts a file.
    if (!listFile && writable && !platform::FileExists(path)) {
        if (FILE* made = platform::OpenFile(path, "ab")) {
            std::fclose(made);
            listFile = platform::OpenFile(path, "r+b");
        }
    }
    return listFile ? 0 : -1;
}

void CountRecords() {
    WordCount = CountOf(wordFile);
    CountListRecords();
}

void CountListRecords() { ListCount = CountOf(listFile); }

std::optional<std::int32_t> CountWordFileRecords(const WordListDescriptor& pair) {
    const std::optional<std::string> path = WordFilePath(pair);
    FILE* file = path ? platform::OpenFile(*path, "rb") : nullptr;
    if (!file) return std::nullopt;
    const bool readable = platform::FileSize(file) >= 0;
    const std::int32_t count = CountOf(file);
    std::fclose(file);
    if (!readable) return std::nullopt;
    return count;
}

int ReadWord(std::int32_t n) {
    if (n > WordCount || n < 0) {
        std::memset(&CurrentRecord, 0, sizeof CurrentRecord);
        return -1;
    }
    return ReadRecord(wordFile, n);
}

std::int32_t ReadWordRecords(std::int32_t first, std::int32_t count, WordRecord* out) {
    if (!wordFile || first < 0 || count < 0 ||
        platform::SeekTo(wordFile, static_cast<std::int64_t>(first) * sizeof(WordRecord)) != 0)
        return -1;
    ++StoreRecordReads;
    const std::size_t got = std::fread(out, sizeof(WordRecord), static_cast<std::size_t>(count), wordFile);
    for (std::size_t i = 0; i < got; ++i) TerminateFields(out[i]);
    return static_cast<std::int32_t>(got);
}

int ReadListEntry(std::int32_t n) {
    if (n > ListCount) return -1;
    return ReadRecord(listFile, n);
}

int WriteWord(std::int32_t n) { return WriteRecord(wordFile, n); }

int WriteListEntry(std::int32_t n) { return WriteRecord(listFile, n); }

void CloseWordFile() {
    if (wordFile) std::fclose(wordFile);
    wordFile = nullptr;
}

void CloseStore() {
    CloseWordFile();
    CloseListFile();
}

void CloseListFile() {
    if (listFile) std::fclose(listFile);
    listFile = nullptr;
}

std::int32_t FindWord(const char* key, std::int32_t limit) {
    std::int32_t lo = 0, hi = limit - 1, mid = 0;
    while (lo <= hi) {
        mid = lo + (hi - lo) / 2;
        ReadWord(mid);
        int d = CompareWords(CurrentRecord.word, key);
        if (d == 0) return mid;
        if (d < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return lo;
}
