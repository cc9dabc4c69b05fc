#include "core/store/sorting.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/threads.h"

std::int64_t SortComparisons;
std::int64_t SortKeysMade;
double SortKeySeconds;

namespace {

constexpr std::int32_t kRecordStep = 1000;
constexpr std::int64_t kComparisonStep = 2000;
constexpr std::size_t kBuckets = 65536;
constexpr int kBucketShift = 48;
constexpr std::size_t kMergeRatio = 4;  // a tail up to a quarter of the body is merged in

// One record to sort: the first eight bytes of its collation key as a number (most
// comparisons end there), the record, and its key's length (the key lies in the key
// arena at the record's offset).
struct SortItem {
    std::uint64_t prefix;
    std::uint32_t record;
    std::uint32_t keyLength;
};

std::uint64_t KeyPrefix(const char* key, std::size_t length) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) prefix = (prefix << 8) | (i < length ? static_cast<unsigned char>(key[i]) : 0u);
    return prefix;
}

// Orders two keys by their bytes from `from` to `length`, eight at a time: the C runtime's
// memcmp under Wine takes them one by one, and was a third of a sort's time there.
int CompareKeyBytes(const char* a, const char* b, std::size_t from, std::size_t length) {
    std::size_t i = from;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x == y) continue;
        // The first byte that differs decides: compared as numbers, the first byte must weigh most.
        if constexpr (std::endian::native == std::endian::little) {
            x = __builtin_bswap64(x);
            y = __builtin_bswap64(y);
        }
        return x < y ? -1 : 1;
    }
    for (; i < length; ++i)
        if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    return 0;
}

void Report(SortProgress* progress, SortPhase phase, std::int64_t count) {
    if (progress) progress->Show(phase, count);
}

// Reads the live records, a thousand at a time; false on a read error (nothing has
// changed then). `liveSorted` counts those among the first `sortedCount` of the file.
bool LoadLiveRecords(std::vector<WordRecord>& records, SortProgress* progress, std::int32_t sortedCount,
                     std::size_t& liveSorted) {
    records.resize(static_cast<std::size_t>(WordCount));
    std::size_t kept = 0;
    liveSorted = 0;
    for (std::int32_t j = 0; j < WordCount; j += kRecordStep) {
        Report(progress, SortPhase::Reading, j);
        const std::int32_t n = std::min(kRecordStep, WordCount - j);
        WordRecord* block = records.data() + kept;
        if (ReadWordRecords(j, n, block) != n) return false;
        for (std::int32_t i = 0; i < n; ++i) {
            if (!IsDeleted(block[i])) records[kept++] = block[i];
            if (j + i < sortedCount) liveSorted = kept;
        }
    }
    records.resize(kept);
    return true;
}

// Counts the comparisons and reports every 2000th without dividing each time.
class ComparisonCounter {
public:
    explicit ComparisonCounter(SortProgress* progress) : progress_(progress) {}
    void Count() {
        if (--untilReport_ == 0) {
            Report(progress_, SortPhase::Sorting, SortComparisons);
            untilReport_ = kComparisonStep;
        }
        ++SortComparisons;
    }

private:
    SortProgress* progress_;
    std::int64_t untilReport_ = kComparisonStep + 1;  // comparison 0 was reported with the keys
};

// Appends the keys of records [from, to) to `arena`, each at its offset. Keys run from a
// word's length (a sort table's) to some 40 bytes (a locale's): room for all is taken once
// the first few thousand tell their size, rather than grown by doubling, which copies the
// keys made so far each time.
template <typename MakeKey>
void MakeKeys(const std::vector<WordRecord>& records, std::size_t from, std::size_t to, MakeKey& makeKey,
              std::string& arena, std::vector<std::uint32_t>& offsets, std::vector<SortItem>& items) {
    constexpr std::size_t kSample = 4096;
    arena.reserve(std::min(to - from, kSample) * 48);
    for (std::size_t i = from; i < to; ++i) {
        if (i - from == kSample) arena.reserve(arena.size() / kSample * (to - from) * 9 / 8 + 64);
        offsets[i] = static_cast<std::uint32_t>(arena.size());
        const std::size_t length = makeKey(records[i].word, arena);
        items[i].record = static_cast<std::uint32_t>(i);
        items[i].keyLength = static_cast<std::uint32_t>(length);
    }
}

// The items spread into buckets by their keys' first two bytes, each item given its key's
// prefix; `buckets` gets where each bucket starts, and the items are given back.
template <typename KeyOf>
std::vector<SortItem> SpreadByPrefix(std::vector<SortItem>& items, KeyOf keyOf, std::vector<std::size_t>& buckets) {
    for (SortItem& item : items) {
        item.prefix = KeyPrefix(keyOf(item), item.keyLength);
        ++buckets[(item.prefix >> kBucketShift) + 1];
    }
    for (std::size_t b = 1; b <= kBuckets; ++b) buckets[b] += buckets[b - 1];
    std::vector<SortItem> spread(items.size());
    std::vector<std::size_t> next(buckets.begin(), buckets.end() - 1);
    for (const SortItem& item : items) spread[next[item.prefix >> kBucketShift]++] = item;
    std::vector<SortItem>().swap(items);  // the sort's peak memory is the records plus this
    return spread;
}

// The order of the records by the keys `makeKey` appends (keys compared as bytes order
// the words as their comparator does), `count` called for each comparison. Each word's key
// is made once; the items are spread into buckets by their key's first two bytes, then
// each bucket is sorted by comparing keys as bytes. `keySeconds` gets the time the keys took.
// From `besideFrom` records on, the keys of the second half and the
// buckets of the second half of the items are done on a second thread (its comparisons are
// counted once it is done): the locale's keys and the comparisons are nearly all of a
// sort's time.
template <typename MakeKey, typename Count>
std::vector<std::uint32_t> OrderByKeys(const std::vector<WordRecord>& records, MakeKey makeKey, Count count,
                                       double& keySeconds, std::size_t besideFrom) {
    const auto start = std::chrono::steady_clock::now();
    const std::size_t n = records.size();
    const bool beside = n >= besideFrom && n >= 2;
    const std::size_t half = beside ? n / 2 : n;
    std::string keys, tailKeys;
    std::vector<std::uint32_t> offsets(n);
    std::vector<SortItem> items(n);
    std::vector<std::size_t> buckets(kBuckets + 1);
    if (beside)
        platform::Beside([&] { MakeKeys(records, 0, half, makeKey, keys, offsets, items); },
                         [&] { MakeKeys(records, half, n, makeKey, tailKeys, offsets, items); });
    else
        MakeKeys(records, 0, n, makeKey, keys, offsets, items);
    // The second half's keys lie in an arena of their own; their offsets run on from the first's.
    const std::size_t split = keys.size();
    for (std::size_t i = half; i < n; ++i) offsets[i] += static_cast<std::uint32_t>(split);
    auto keyOf = [&](const SortItem& item) {
        const std::uint32_t at = offsets[item.record];
        return at < split ? keys.data() + at : tailKeys.data() + (at - split);
    };
    keySeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::vector<SortItem> spread = SpreadByPrefix(items, keyOf, buckets);

    auto lessCounted = [&](auto counted) {
        return [&keyOf, counted](const SortItem& a, const SortItem& b) mutable {
            counted();
            if (a.prefix != b.prefix) return a.prefix < b.prefix;
            // Equal prefixes hold the same first eight bytes, or all of the shorter key.
            const std::size_t common = std::min(a.keyLength, b.keyLength);
            const int d = CompareKeyBytes(keyOf(a), keyOf(b), std::min<std::size_t>(common, 8), common);
            return d != 0 ? d < 0 : a.keyLength < b.keyLength;
        };
    };
    auto sortBuckets = [&](std::size_t from, std::size_t to, auto less) {
        for (std::size_t b = from; b < to; ++b)
            if (buckets[b + 1] - buckets[b] > 1)
                std::sort(spread.begin() + static_cast<std::ptrdiff_t>(buckets[b]),
                          spread.begin() + static_cast<std::ptrdiff_t>(buckets[b + 1]), less);
    };
    if (beside) {
        // The buckets part where half the items lie before.
        const std::size_t middle =
            static_cast<std::size_t>(std::lower_bound(buckets.begin(), buckets.end(), n / 2) - buckets.begin());
        std::int64_t besideComparisons = 0;
        platform::Beside(
            [&] { sortBuckets(0, middle, lessCounted(count)); },
            [&] { sortBuckets(middle, kBuckets, lessCounted([&besideComparisons] { ++besideComparisons; })); });
        for (; besideComparisons > 0; --besideComparisons) count();  // the progress runs on to the total
    } else {
        sortBuckets(0, kBuckets, lessCounted(count));
    }

    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = spread[i].record;
    return order;
}

// The order under the current pair's comparator, counted in the sort's measures.
std::vector<std::uint32_t> SortedOrder(const std::vector<WordRecord>& records, ComparisonCounter& counter,
                                       std::size_t besideFrom) {
    double keySeconds = 0;
    std::vector<std::uint32_t> order = OrderByKeys(
        records, [](const char* word, std::string& keys) { return AppendCollationKey(word, keys); },
        [&] { counter.Count(); }, keySeconds, besideFrom);
    SortKeysMade += static_cast<std::int64_t>(records.size());
    SortKeySeconds += keySeconds;
    return order;
}

// The order when the first `body` records are in order already: the rest are sorted on
// their own and each merged in after every body record not greater than it, so only
// their keys are made. None when the body turns out to be out of order.
std::optional<std::vector<std::uint32_t>> MergedOrder(const std::vector<WordRecord>& records, std::size_t body,
                                                      ComparisonCounter& counter, std::size_t besideFrom) {
    for (std::size_t i = 1; i < body; ++i) {
        counter.Count();
        if (CompareWords(records[i - 1].word, records[i].word) > 0) return std::nullopt;
    }
    const std::vector<WordRecord> tail(records.begin() + static_cast<std::ptrdiff_t>(body), records.end());
    std::vector<std::uint32_t> order;
    order.reserve(records.size());
    std::size_t next = 0;
    for (std::uint32_t t : SortedOrder(tail, counter, besideFrom)) {
        const char* word = tail[t].word;
        std::size_t lo = next, hi = body;
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            counter.Count();
            if (CompareWords(records[mid].word, word) <= 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        for (; next < lo; ++next) order.push_back(static_cast<std::uint32_t>(next));
        order.push_back(static_cast<std::uint32_t>(body + t));
    }
    for (; next < body; ++next) order.push_back(static_cast<std::uint32_t>(next));
    return order;
}

// Writes the records in order to the temporary file, a thousand at a time; false when
// any write fails.
bool WriteSorted(FILE* out, const std::vector<WordRecord>& records, const std::vector<std::uint32_t>& order,
                 SortProgress* progress) {
    std::vector<WordRecord> block;
    block.reserve(kRecordStep);
    for (std::size_t i = 0; i < order.size(); i += kRecordStep) {
        Report(progress, SortPhase::Writing, static_cast<std::int64_t>(i));
        block.clear();
        for (std::size_t k = i; k < order.size() && k < i + kRecordStep; ++k) block.push_back(records[order[k]]);
        if (!platform::WriteBytes(out, block.data(), block.size() * sizeof(WordRecord))) return false;
    }
    return platform::FlushFile(out);
}

}  // namespace

void SortRecords(std::vector<WordRecord>& records, const Collation& collation) {
    double keySeconds = 0;
    std::vector<std::uint32_t> order = OrderByKeys(
        records, [&](const char* word, std::string& keys) { return AppendCollationKey(collation, word, keys); }, [] {},
        keySeconds, static_cast<std::size_t>(-1));  // its callers run two at once, one a core
    // Moved along the cycles of the order, in place: a sorted copy would be a second
    // dictionary's worth of fresh memory, whose page faults cost more than the moves.
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) continue;
        const WordRecord first = records[start];
        std::size_t at = start;
        while (order[at] != start) {
            const std::uint32_t from = order[at];
            records[at] = records[from];
            order[at] = static_cast<std::uint32_t>(at);
            at = from;
        }
        records[at] = first;
        order[at] = static_cast<std::uint32_t>(at);
    }
}

int SortStore(SortProgress* progress, std::int32_t sortedCount, std::size_t besideFrom) {
    std::vector<WordRecord> records;
    std::vector<std::uint32_t> order;
    // Nothing has changed yet: whatever goes wrong here (memory above all), the sort just fails.
    try {
        std::size_t body = 0;
        if (!LoadLiveRecords(records, progress, sortedCount, body)) return -1;
        SetCollation(*CurrentPair, LocaleReport::Silent);
        SortComparisons = SortKeysMade = 0;
        SortKeySeconds = 0;
        Report(progress, SortPhase::Sorting, 0);  // shown while the keys are made
        ComparisonCounter counter(progress);
        // A short tail behind a long sorted body is merged in; anything else is sorted whole.
        std::optional<std::vector<std::uint32_t>> merged;
        if (body > 0 && records.size() - body <= body / kMergeRatio)
            merged = MergedOrder(records, body, counter, besideFrom);
        order = merged ? std::move(*merged) : SortedOrder(records, counter, besideFrom);
    } catch (...) {
        return -1;
    }
    const std::optional<std::string> wordFile = WordFilePath(*CurrentPair);
    if (!wordFile) return -1;
    // The sorted file takes the word file's place in one step, and only whole.
    const int result = platform::ReplaceFile(*wordFile, Ui(UiKey::FilenameTempLanguage), [&](FILE* out) {
        const bool written = WriteSorted(out, records, order, progress);
        CloseWordFile();  // Windows replaces no file that is open
        return written;
    });
    OpenWordFile();
    CountRecords();
    return result == 0 ? 0 : -1;
}
