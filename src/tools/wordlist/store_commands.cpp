#include "tools/wordlist/store_commands.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/checker/checker.h"
#include "core/lists/list_storage.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/record_bytes.h"
#include "core/store/sorting.h"
#include "core/store/store.h"
#include "core/text/fixed_text.h"
#include "platform/lines.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "tools/wordlist/stats_timer.h"

namespace wordlist {
namespace {

void PrintRecord(std::int32_t index) {
    std::printf("%d\t%s\t%s\t%d\n", index, CurrentRecord.word, CurrentRecord.translation, CurrentRecord.deleted);
}

// Reads "word<TAB>translation" lines into records; refuses the whole file on a bad line.
// Lines end at LF, a CR before it being part of the break, as the word lists are written on
// either system; a CR inside a line stays in it and so in the record.
bool ParseWordLines(const std::string& text, std::vector<WordRecord>& records, std::string& error) {
    int lineNumber = 0;
    for (const TextLine& textLine : SplitLines(text, LineBreaks::LineFeed)) {
        ++lineNumber;
        const std::string_view line = textLine.text;
        if (line.empty()) continue;
        std::size_t tab = line.find('\t');
        const std::string word(line.substr(0, tab));
        const std::string translation(tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1));
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (word.empty() || word.size() > kMaxWordChars || word.find(',') != std::string::npos) {
            error = where + "a word has 1 to 30 characters and no comma";
            return false;
        }
        if (translation.size() > kMaxTranslationChars || translation.find('\t') != std::string::npos) {
            error = where + "a translation has at most 50 characters and no tab";
            return false;
        }
        WordRecord record{};
        SetWord(record, word);
        SetTranslation(record, translation);
        records.push_back(record);
    }
    return true;
}

// Times each phase of a sort from the first progress report of the next one.
class PhaseTimer : public SortProgress {
public:
    explicit PhaseTimer(Clock::time_point start) : start_(start) {}
    void Show(SortPhase phase, std::int64_t) override {
        const int p = static_cast<int>(phase);
        if (!seen_[p]) {
            seen_[p] = true;
            begin_[p] = Clock::now();
        }
    }
    // Seconds of each phase: reading (from the start), sorting (keys and ordering), writing.
    void Report(std::int64_t records, double total) const {
        const double read = Seconds(start_, begin_[1]);
        const double sort = Seconds(begin_[1], begin_[2]);
        const double write = total - read - sort;
        std::fprintf(stderr, "records\t%lld\n", static_cast<long long>(records));
        std::fprintf(stderr, "read\t%.3f s\t%.0f records/s\n", read, records / std::max(read, 1e-9));
        std::fprintf(stderr, "sort\t%.3f s\t%.0f records/s\n", sort, records / std::max(sort, 1e-9));
        std::fprintf(stderr, "write\t%.3f s\t%.0f records/s\n", write, records / std::max(write, 1e-9));
        std::fprintf(stderr, "total\t%.3f s\n", total);
        std::fprintf(stderr, "comparisons\t%lld\t%.1f per record\n", static_cast<long long>(SortComparisons),
                     records ? static_cast<double>(SortComparisons) / static_cast<double>(records) : 0.0);
    }

private:
    Clock::time_point start_;
    Clock::time_point begin_[3];
    bool seen_[3] = {};
};

}  // namespace

int PairsCommand(const Options&) {
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        std::printf("%d\t%s\t%s\t%s\t%s\t%s\t%d\t%d\t%d%s\n", PairPosition(d), d->name1, d->name2, WordFileName(*d),
                    ListFileName(*d), d->locale, d->charset1, d->charset2, d->hasSortTable,
                    d == CurrentPair ? "\t*" : "");
    }
    return 0;
}

int CountCommand(const Options&) {
    std::printf("%d\t%d\n", WordCount, ListCount);
    return 0;
}

int DumpCommand(const Options&) {
    for (std::int32_t i = 0; i < WordCount; ++i) {
        if (ReadWord(i) != 0) break;
        PrintRecord(i);
    }
    return 0;
}

int FindCommand(const Options& options) {
    const std::uint64_t reads = StoreRecordReads;
    const StatsTimer timer(options.stats);
    std::int32_t index = FindWord(options.operand.substr(0, kMaxTranslationChars).c_str());
    const double seconds = timer.Seconds();
    const std::uint64_t used = StoreRecordReads - reads;
    if (ReadWord(index) != 0) std::memset(&CurrentRecord, 0, sizeof CurrentRecord);
    PrintRecord(index);
    if (timer.on())
        std::fprintf(stderr, "record reads\t%llu\tbound %d\n%.1f microseconds\n", static_cast<unsigned long long>(used),
                     static_cast<int>(std::ceil(std::log2(WordCount + 1.0))) + 1, seconds * 1e6);
    return 0;
}

int SortCommand(const Options& options) {
    const std::int64_t before = WordCount;
    const StatsTimer timer(options.stats);
    PhaseTimer phases(timer.start());
    const std::int32_t appended = options.appended;
    const std::int32_t sorted = appended >= 0 && appended <= WordCount ? WordCount - appended : 0;
    if (SortStore(&phases, sorted) != 0) return Fail("sorting failed; the word file is as it was");
    const double total = timer.Seconds();
    std::printf("%d\n", WordCount);
    if (timer.on()) {
        phases.Report(before, total);
        const double peak = static_cast<double>(platform::PeakMemoryBytes());
        std::fprintf(stderr, "keys made\t%lld\t%.3f s\n", static_cast<long long>(SortKeysMade), SortKeySeconds);
        std::fprintf(stderr, "peak memory\t%.1f MB\t%.2f x the 84 bytes per record\n", peak / 1e6,
                     before ? peak / (84.0 * static_cast<double>(before)) : 0.0);
    }
    return 0;
}

int ListsCommand(const Options&) {
    int id = kFirstListId;
    for (const std::string& name : EnumerateLists()) {
        std::printf("%d\t%s%s\n", id, name.c_str(), EqualsIgnoringAsciiCase(name, Settings.PracticeList) ? "\t*" : "");
        ++id;
    }
    return 0;
}

int LoadCommand(const Options& options) {
    std::string text, error;
    if (!platform::ReadFileBytes(options.operand, text)) return Fail("cannot read " + options.operand);
    std::vector<WordRecord> records;
    if (!ParseWordLines(text, records, error)) return Fail(options.operand + ": " + error);
    if (!options.asIs)
        std::stable_sort(records.begin(), records.end(),
                         [](const WordRecord& a, const WordRecord& b) { return CompareWords(a.word, b.word) < 0; });
    const std::optional<std::string> path = WordFilePath(*CurrentPair);
    if (!path) return Fail("the word file's path is too long");
    if (BackUpAndReport({*path}, MessageOwner::None, "load " + options.operand).error != 0)
        return Fail("nothing was changed");
    if (platform::ReplaceFileWith(*path, BytesOfRecords(records)) != 0) return Fail("cannot write " + *path);
    std::printf("%zu\n", records.size());
    return 0;
}

// One line per file: "ok", or each finding and each repair indented below its path.
int CheckCommand(const Options& options) {
    if (options.repair && BackUpAndReport(WorkingFiles(), MessageOwner::None, "repair").error != 0)
        return Fail("nothing was changed");
    bool found = false;
    for (const FileCheck& check : CheckWorkingDirectory(options.repair)) {
        if (check.findings.empty()) {
            std::printf("ok\t%s\n", check.path.c_str());
            continue;
        }
        found = true;
        std::printf("found\t%s\n", check.path.c_str());
        for (const std::string& finding : check.findings) std::printf("\t%s\n", finding.c_str());
        for (const std::string& done : check.repairs) std::printf("\trepaired: %s\n", done.c_str());
    }
    return found ? 1 : 0;
}

}  // namespace wordlist
