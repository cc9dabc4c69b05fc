// The yardstick for the word-file sort under Wine: std::sort of the same records
// calling CompareStringA for every comparison. With --check it instead counts the
// neighbouring records of a word file that CompareStringA puts the other way round.
//
//   naive_sort LOCALE-ID IN OUT
//   naive_sort --check LOCALE-ID FILE

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/store/word_record.h"

namespace {

std::vector<WordRecord> Read(const char* path) {
    std::vector<WordRecord> records;
    if (FILE* in = std::fopen(path, "rb")) {
        WordRecord r;
        while (std::fread(&r, sizeof r, 1, in) == 1) records.push_back(r);
        std::fclose(in);
    }
    return records;
}

int Compare(LCID lcid, const char* a, const char* b) {
    return CompareStringA(lcid, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) - CSTR_EQUAL;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--check") {
        const LCID lcid = MAKELCID(std::strtoul(argv[2], nullptr, 0), SORT_DEFAULT);
        std::vector<WordRecord> records = Read(argv[3]);
        long disagreements = 0;
        for (std::size_t i = 0; i + 1 < records.size(); ++i)
            if (Compare(lcid, records[i].word, records[i + 1].word) > 0) ++disagreements;
        std::printf("%zu records, %ld neighbours out of order\n", records.size(), disagreements);
        return disagreements == 0 ? 0 : 1;
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: naive_sort LOCALE-ID IN OUT | naive_sort --check LOCALE-ID FILE\n");
        return 2;
    }
    const LCID lcid = MAKELCID(std::strtoul(argv[1], nullptr, 0), SORT_DEFAULT);
    const auto start = std::chrono::steady_clock::now();
    std::vector<WordRecord> records = Read(argv[2]);
    std::vector<WordRecord> live;
    live.reserve(records.size());
    for (const WordRecord& r : records)
        if (r.deleted == 0) live.push_back(r);
    const auto sorting = std::chrono::steady_clock::now();
    long long comparisons = 0;
    std::sort(live.begin(), live.end(), [&](const WordRecord& a, const WordRecord& b) {
        ++comparisons;
        return Compare(lcid, a.word, b.word) < 0;
    });
    const auto writing = std::chrono::steady_clock::now();
    if (FILE* out = std::fopen(argv[3], "wb")) {
        std::fwrite(live.data(), sizeof(WordRecord), live.size(), out);
        std::fclose(out);
    }
    const auto end = std::chrono::steady_clock::now();
    auto seconds = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
    std::printf("records %zu\nsort %.3f s (%lld comparisons, %.0f ns each)\ntotal %.3f s\n", live.size(),
                seconds(sorting, writing), comparisons, 1e9 * seconds(sorting, writing) / std::max(1LL, comparisons),
                seconds(start, end));
    return 0;
}
