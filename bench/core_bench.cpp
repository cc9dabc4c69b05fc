// Benchmarks of the core: searching and sorting a word file of N records, with a sort
// table (the comparison the native build shares with Windows).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lists/random_selection.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/sorting.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"

namespace {

namespace fs = std::filesystem;

std::vector<WordRecord> RandomRecords(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<WordRecord> records(n);
    for (WordRecord& r : records) {
        std::string word;
        for (int k = 3 + static_cast<int>(random() % 10); k > 0; --k) word += static_cast<char>('a' + random() % 26);
        r = WordRecord{};
        SetWord(r, word);
        SetTranslation(r, "translation");
    }
    return records;
}

// A working directory with one table-collated pair whose word file holds `records`.
class Fixture {
public:
    explicit Fixture(const std::vector<WordRecord>& records) {
        dir_ = fs::temp_directory_path() / ("dict-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "words");
        fs::create_directories(dir_ / "tables");
        previous_ = fs::current_path();
        fs::current_path(dir_);
        std::string text;
        const char* keys[] = {"PathLanguage=words\\",      "PathNameList=lists\\",
                              "FilenameIni=cat.ini",       "FilenameTempLanguage=words.tmp",
                              "FilenameTempList=list.tmp", "IniLanguage=[languages]",
                              "MainLanguage=dutch",        "Locale=dutch",
                              "CharactersetCode=0"};
        for (int k = 0; k < kUiKeyCount; ++k) {
            std::string entry = std::string(UiKeyName(static_cast<UiKey>(k))) + "=x";
            for (const char* given : keys)
                if (std::string(given).rfind(UiKeyName(static_cast<UiKey>(k)) + std::string("="), 0) == 0)
                    entry = given;
            text += entry + '\0';
        }
        InstallUiStrings(std::vector<char>(text.begin(), text.end()));
        std::string table(256, '\0');
        for (int b = 1; b < 256; ++b) table[b] = static_cast<char>(b >= 'a' && b <= 'z' ? b - 32 : b < 2 ? 2 : b);
        Write("tables/bench.stb", table);
        Write("cat.ini", "[languages]\nbench\n");
        BuildCatalogue();
        CurrentPair = PairAt(0);
        SetCollation(*CurrentPair, LocaleReport::Silent);
        Write("words/ben_dut.gk",
              std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WordRecord)));
        OpenStore();
        CountRecords();
    }
    ~Fixture() {
        CloseStore();
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    void Write(const std::string& path, const std::string& data) {
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }

private:
    fs::path dir_, previous_;
};

void BM_SortStore(benchmark::State& state) {
    const auto records = RandomRecords(static_cast<std::size_t>(state.range(0)), 1);
    Fixture fixture(records);
    for (auto _ : state) {
        state.PauseTiming();
        fixture.Write("words/ben_dut.gk",
                      std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WordRecord)));
        ReopenStore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(SortStore(nullptr));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortStore)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FindWord(benchmark::State& state) {
    Fixture fixture(RandomRecords(static_cast<std::size_t>(state.range(0)), 2));
    SortStore(nullptr);
    const auto keys = RandomRecords(1024, 3);
    std::size_t i = 0;
    const std::uint64_t reads = StoreRecordReads;
    for (auto _ : state) benchmark::DoNotOptimize(FindWord(keys[i++ % keys.size()].word));
    state.counters["reads/search"] =
        benchmark::Counter(static_cast<double>(StoreRecordReads - reads), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FindWord)->Arg(1000)->Arg(500000);

// What a keystroke in the search window costs the core: the search, then a page of ten rows.
void BM_LookupPage(benchmark::State& state) {
    Fixture fixture(RandomRecords(static_cast<std::size_t>(state.range(0)), 2));
    SortStore(nullptr);
    const auto keys = RandomRecords(1024, 3);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::int32_t top = FindWord(keys[i++ % keys.size()].word);
        for (std::int32_t r = 0; r < 10; ++r) benchmark::DoNotOptimize(ReadWord(top + r));
    }
}
BENCHMARK(BM_LookupPage)->Arg(500000)->Unit(benchmark::kMicrosecond);

// Drawing 10,000 words into a practice list: the cost follows the draws, not the file.
void BM_DrawRandomWords(benchmark::State& state) {
    Fixture fixture(RandomRecords(static_cast<std::size_t>(state.range(0)), 4));
    fs::create_directories("lists/bench");
    Settings.PracticeList = "bench";
    ReopenStore();
    for (auto _ : state) benchmark::DoNotOptimize(DrawRandomWords(10000, true));
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DrawRandomWords)->Arg(50000)->Arg(500000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
