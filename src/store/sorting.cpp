#include "store/sorting.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/ui_strings.h"
#include "store/collation.h"
#include "store/store.h"

std::int64_t SortComparisons;

namespace {

constexpr std::int32_t kRecordStep = 1000;
constexpr std::int64_t kComparisonStep = 2000;

// One record to sort: the first bytes of its key as a number (most comparisons end
// there), then where its whole key and its record lie.
struct SortItem {
    std::uint64_t prefix;
    std::uint32_t keyOffset;
    std::uint32_t keyLength;
    std::uint32_t record;
};

std::uint64_t KeyPrefix(const char* key, std::size_t length) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < length ? static_cast<unsigned char>(key[i]) : 0u);
    return prefix;
}

void Report(SortProgress* progress, SortPhase phase, std::int64_t count) {
    if (progress) progress->Show(phase, count);
}

// Reads the live records; false on a read error (nothing has changed then).
bool LoadLiveRecords(std::vector<WordRecord>& records, SortProgress* progress) {
    records.clear();
    records.reserve(static_cast<std::size_t>(WordCount));
    for (std::int32_t j = 0; j < WordCount; ++j) {
        if (j % kRecordStep == 0) Report(progress, SortPhase::Reading, j);
        if (ReadWord(j) != 0) return false;
        if (CurrentRecord.deleted == 0) records.push_back(CurrentRecord);
    }
    return true;
}

// The order of the records under the pair's comparator, by their collation keys.
std::vector<std::uint32_t> SortedOrder(const std::vector<WordRecord>& records, SortProgress* progress) {
    std::string keys;
    keys.reserve(records.size() * 24);
    std::vector<SortItem> items(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::size_t offset = keys.size();
        const std::size_t length = AppendCollationKey(records[i].word, keys);
        items[i] = {0, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length),
                    static_cast<std::uint32_t>(i)};
    }
    for (SortItem& item : items) item.prefix = KeyPrefix(keys.data() + item.keyOffset, item.keyLength);

    SortComparisons = 0;
    const char* arena = keys.data();
    std::sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) {
        if (SortComparisons++ % kComparisonStep == 0) Report(progress, SortPhase::Sorting, SortComparisons - 1);
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        const std::size_t n = std::min(a.keyLength, b.keyLength);
        int d = std::memcmp(arena + a.keyOffset, arena + b.keyOffset, n);
        return d != 0 ? d < 0 : a.keyLength < b.keyLength;
    });

    std::vector<std::uint32_t> order(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].record;
    return order;
}

// Writes the records in order to the temporary file; false when any write fails.
bool WriteSorted(FILE* out, const std::vector<WordRecord>& records, const std::vector<std::uint32_t>& order,
                 SortProgress* progress) {
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i % kRecordStep == 0) Report(progress, SortPhase::Writing, static_cast<std::int64_t>(i));
        if (std::fwrite(&records[order[i]], sizeof(WordRecord), 1, out) != 1) return false;
    }
    return std::fflush(out) == 0;
}

}  // namespace

int SortStore(SortProgress* progress) {
    std::vector<WordRecord> records;
    if (!LoadLiveRecords(records, progress)) return -1;

    SetCollation(*CurrentPair, LocaleReport::Silent);
    const std::vector<std::uint32_t> order = SortedOrder(records, progress);

    const std::string temporary = Ui(UiKey::FilenameTempLanguage);
    const std::optional<std::string> wordFile = WordFilePath(*CurrentPair);
    int result = -1;
    if (FILE* out = platform::OpenFile(temporary, "wb")) {
        bool written = WriteSorted(out, records, order, progress);
        if (std::fclose(out) != 0) written = false;
        CloseStore();
        // The temporary file takes the word file's place in one step, and only whole.
        if (written && wordFile && platform::MoveIntoPlace(temporary, *wordFile) == 0)
            result = 0;
        else
            platform::RemoveFile(temporary);
    }
    OpenStore();
    CountRecords();
    return result;
}
