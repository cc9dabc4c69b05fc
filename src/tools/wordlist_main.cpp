// wordlist: looks at a working directory the way the program does, from the command line.
//
//   wordlist [--pair N] [--gk NAME] [--stats] pairs | count | dump | find KEY | sort [--appended N] | lists
//   wordlist [--pair N] [--gk NAME] load [--as-is] FILE
//   wordlist strings pack IN OUT | strings unpack IN OUT
//   wordlist check [--repair]
//   wordlist [--pair N] import [--dry-run] [--report -] [--format F] [--languages A,B] [--separator S] FILE
//   wordlist [--pair N] export [--format F] FILE
//   wordlist [--stats] backup | backups | restore NAME [FILE...]
//   wordlist [--pair N] review WORD RATING [--at TIME] | due [--at TIME] [--all]
//   wordlist [--pair N] review-stats [--at TIME] | review-log export FILE
//
// load replaces the pair's word file by the lines "word<TAB>translation" of FILE,
// sorted by the pair's collation (or in the file's order with --as-is); it is how the
// demo word lists are made. --stats reports timings and counts on stderr. import reads
// another program's file (F: tsv, csv, anki, kvtml, freedict; by default from the file's
// name), prints what it adds, merges and skips with the first lines it cannot take (all of
// them with --report -), writes the whole report to the word file's name with ".import.txt"
// in the working directory, and unless --dry-run stores the words in the pair and its
// reverse; --languages picks a KVTML file's two languages (by id, name or locale) where
// the pair's names do not, --separator (tab, semicolon, comma or a character) the one of
// tab and comma text instead of what the file says or shows.
// backup does what the program does at start-up: it backs up what changed (--stats: how
// long that took). backups lists the backups, newest first, with the files each holds; restore puts back
// the files of backup NAME that differ from the current ones (or only the FILEs named),
// after backing up the current ones. load and check --repair back up what they replace.
// review logs one answer (RATING 1-4) to a word of the pair; due lists the words due at
// TIME (ISO 8601 UTC, default now; --all: every word with a state), most overdue first, of
// the live words of the word file (the log keeps the others' answers for when they come back);
// review-stats prints the progress window's figures; review-log export writes the log in
// the FSRS optimizer's CSV. Days are UTC days here.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/checker/checker.h"
#include "core/exchange/exchange.h"
#include "core/exchange/format_table.h"
#include "core/exchange/import_run.h"
#include "core/lists/list_storage.h"
#include "core/review/review_pair.h"
#include "core/review/review_queue.h"
#include "core/session/session.h"
#include "core/session/startup.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/record_bytes.h"
#include "core/store/sorting.h"
#include "core/store/store.h"
#include "core/strings/strings_file.h"
#include "core/strings/ui_strings.h"
#include "core/text/fixed_text.h"
#include "core/text/utf8.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace {

const char kUsage[] =
    "usage: wordlist [--pair N] [--gk NAME] [--stats] pairs | count | dump | find KEY | sort [--appended N] | lists\n"
    "       wordlist [--pair N] [--gk NAME] load [--as-is] FILE\n"
    "       wordlist strings pack IN OUT | wordlist strings unpack IN OUT\n"
    "       wordlist check [--repair]\n"
    "       wordlist [--pair N] import [--dry-run] [--report -] [--format F] [--languages A,B] [--separator S] FILE\n"
    "       wordlist [--pair N] export [--format F] FILE\n"
    "       wordlist [--stats] backup | wordlist backups | wordlist restore NAME [FILE...]\n"
    "       wordlist [--pair N] [--stats] review WORD RATING [--at TIME] | due [--at TIME] [--all]\n"
    "       wordlist [--pair N] review-stats [--at TIME] | review-log export FILE\n";

std::string Usage() { return kUsage + ("       (F: " + FormatNameList() + ")\n"); }

using Clock = std::chrono::steady_clock;

struct Options {
    int pair = -1;
    std::string commandLine;  // as the program's own "/gk NAME"
    bool stats = false;
    bool asIs = false;
    bool repair = false;
    bool dryRun = false;
    bool wholeReport = false;  // import: every problem line on stdout, not only the first ones
    std::optional<ExchangeFormat> format;
    std::string languages;
    char separator = 0;
    std::int32_t appended = -1;  // sort: the file's last records were appended to a sorted body
    std::string command;
    std::string operand;
    std::vector<std::string> files;  // restore: the files to put back, all when none
    std::string operand2;            // review: the rating; review-log: the file
    std::optional<std::int64_t> at;  // review commands: the time instead of now
    bool all = false;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "wordlist: %s\n", message.c_str());
    return 1;
}

int StringsCommand(const std::vector<std::string>& args) {
    if (args.size() != 4 || (args[1] != "pack" && args[1] != "unpack")) return Fail("bad arguments\n" + Usage());
    std::string in, out, error;
    if (!platform::ReadFileBytes(args[2], in)) return Fail("cannot read " + args[2]);
    if (args[1] == "pack") {
        if (!PackStrings(in, out, error)) return Fail(args[2] + ": " + error);
    } else {
        out = UnpackStrings(in);
    }
    if (platform::ReplaceFileWith(args[3], out) != 0) return Fail("cannot write " + args[3]);
    return 0;
}

bool NeedsOperand(const std::string& command) {
    return command == "load" || command == "find" || command == "import" || command == "export" ||
           command == "restore" || command == "review" || command == "review-log";
}
bool NeedsTwoOperands(const std::string& command) { return command == "review" || command == "review-log"; }
bool TakesTime(const std::string& command) {
    return command == "review" || command == "due" || command == "review-stats";
}

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasNext = i + 1 < args.size();
        if (a == "--pair" && hasNext) {
            char* end = nullptr;
            long n = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || n < 0 || n > 100000 || args[i].empty()) {
                error = "--pair needs a pair number";
                return false;
            }
            options.pair = static_cast<int>(n);
        } else if (a == "--gk" && hasNext) {
            options.commandLine = "/gk " + args[++i];
        } else if (a == "--stats") {
            options.stats = true;
        } else if (a == "--appended" && options.command == "sort" && hasNext) {
            options.appended = static_cast<std::int32_t>(std::strtol(args[++i].c_str(), nullptr, 10));
        } else if (a == "--repair" && options.command == "check") {
            options.repair = true;
        } else if (a == "--dry-run" && options.command == "import") {
            options.dryRun = true;
        } else if (a == "--report" && options.command == "import" && hasNext) {
            if (args[++i] != "-") {
                error = "--report takes - (the whole report on stdout)";
                return false;
            }
            options.wholeReport = true;
        } else if (a == "--format" && (options.command == "import" || options.command == "export") && hasNext) {
            options.format = FormatNamed(args[++i]);
            if (!options.format) {
                error = "unknown format " + args[i] + " (" + FormatNameList() + ")";
                return false;
            }
        } else if (a == "--languages" && options.command == "import" && hasNext) {
            options.languages = args[++i];
        } else if (a == "--separator" && options.command == "import" && hasNext) {
            options.separator = SeparatorNamed(args[++i]);
            if (!options.separator) {
                error = "unknown separator " + args[i] + " (tab, semicolon, comma or one character)";
                return false;
            }
        } else if (a == "--as-is" && options.command == "load") {
            options.asIs = true;
        } else if (a == "--at" && TakesTime(options.command) && hasNext) {
            std::int64_t ms = 0;
            if (!review::ParseTime(args[++i], ms)) {
                error = "--at needs a time as 2026-01-05T08:00:00Z";
                return false;
            }
            options.at = ms;
        } else if (a == "--all" && options.command == "due") {
            options.all = true;
        } else if (options.command.empty() && !a.empty() && a[0] != '-') {
            options.command = a;
        } else if (NeedsOperand(options.command) && options.operand.empty()) {
            options.operand = a;
        } else if (NeedsTwoOperands(options.command) && options.operand2.empty()) {
            options.operand2 = a;
        } else if (options.command == "restore") {
            std::string file = a;
            std::replace(file.begin(), file.end(), '/', '\\');
            options.files.push_back(file);
        } else {
            error = "unexpected argument " + a;
            return false;
        }
    }
    static const char* const kCommands[] = {"pairs",   "count",  "dump",   "find",         "sort",      "lists",
                                            "load",    "check",  "import", "export",       "backup",    "backups",
                                            "restore", "review", "due",    "review-stats", "review-log"};
    if (std::find(std::begin(kCommands), std::end(kCommands), options.command) == std::end(kCommands)) {
        error = "no command";
        return false;
    }
    if ((NeedsOperand(options.command) && options.operand.empty()) ||
        (NeedsTwoOperands(options.command) && options.operand2.empty())) {
        error = options.command + " needs " + (NeedsTwoOperands(options.command) ? "two operands" : "an operand");
        return false;
    }
    if (options.command == "review-log" && options.operand != "export") {
        error = "review-log knows only export";
        return false;
    }
    return true;
}

void PrintPairs() {
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        std::printf("%d\t%s\t%s\t%s\t%s\t%s\t%d\t%d\t%d%s\n", PairPosition(d), d->name1, d->name2, WordFileName(*d),
                    ListFileName(*d), d->locale, d->charset1, d->charset2, d->hasSortTable,
                    d == CurrentPair ? "\t*" : "");
    }
}

void PrintRecord(std::int32_t index) {
    std::printf("%d\t%s\t%s\t%d\n", index, CurrentRecord.word, CurrentRecord.translation, CurrentRecord.deleted);
}

void PrintLists() {
    int id = kFirstListId;
    for (const std::string& name : EnumerateLists()) {
        std::printf("%d\t%s%s\n", id, name.c_str(), EqualsIgnoringAsciiCase(name, Settings.PracticeList) ? "\t*" : "");
        ++id;
    }
}

void PrintRecords() {
    for (std::int32_t i = 0; i < WordCount; ++i) {
        if (ReadWord(i) != 0) break;
        PrintRecord(i);
    }
}

// Reads "word<TAB>translation" lines into records; refuses the whole file on a bad line.
bool ParseWordLines(const std::string& text, std::vector<WordRecord>& records, std::string& error) {
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::size_t tab = line.find('\t');
        const std::string word = line.substr(0, tab);
        const std::string translation = tab == std::string::npos ? "" : line.substr(tab + 1);
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
    if (BackUpAndReport({*path}, MessageOwner::None).error != 0) return Fail("nothing was changed");
    if (platform::ReplaceFileWith(*path, BytesOfRecords(records)) != 0) return Fail("cannot write " + *path);
    std::printf("%zu\n", records.size());
    return 0;
}

// Times each phase of a sort from the first progress report of the next one.
class PhaseTimer : public SortProgress {
public:
    PhaseTimer() : start_(Clock::now()) {}
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
    static double Seconds(Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double>(b - a).count();
    }
    Clock::time_point start_;
    Clock::time_point begin_[3];
    bool seen_[3] = {};
};

int SortCommand(bool stats, std::int32_t appended) {
    const std::int64_t before = WordCount;
    PhaseTimer timer;
    const Clock::time_point start = Clock::now();
    const std::int32_t sorted = appended >= 0 && appended <= WordCount ? WordCount - appended : 0;
    if (SortStore(&timer, sorted) != 0) return Fail("sorting failed; the word file is as it was");
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%d\n", WordCount);
    if (stats) {
        timer.Report(before, total);
        const double peak = static_cast<double>(platform::PeakMemoryBytes());
        std::fprintf(stderr, "keys made\t%lld\t%.3f s\n", static_cast<long long>(SortKeysMade), SortKeySeconds);
        std::fprintf(stderr, "peak memory\t%.1f MB\t%.2f x the 84 bytes per record\n", peak / 1e6,
                     before ? peak / (84.0 * static_cast<double>(before)) : 0.0);
    }
    return 0;
}

int FindCommand(const std::string& key, bool stats) {
    const std::uint64_t reads = StoreRecordReads;
    const Clock::time_point start = Clock::now();
    std::int32_t index = FindWord(key.substr(0, kMaxTranslationChars).c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const std::uint64_t used = StoreRecordReads - reads;
    if (ReadWord(index) != 0) std::memset(&CurrentRecord, 0, sizeof CurrentRecord);
    PrintRecord(index);
    if (stats)
        std::fprintf(stderr, "record reads\t%llu\tbound %d\n%.1f microseconds\n", static_cast<unsigned long long>(used),
                     static_cast<int>(std::ceil(std::log2(WordCount + 1.0))) + 1, seconds * 1e6);
    return 0;
}

// One line per file: "ok", or each finding and each repair indented below its path.
int CheckCommand(bool repair) {
    if (repair && BackUpAndReport(WorkingFiles(), MessageOwner::None).error != 0) return Fail("nothing was changed");
    bool found = false;
    for (const FileCheck& check : CheckWorkingDirectory(repair)) {
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

// When each step of an import began, for --stats; the steps of storing the words are taken
// on a thread of their own.
std::vector<std::pair<const char*, Clock::time_point>> importSteps;
std::mutex importStepsTaken;

// Problem lines of an import's report printed on stdout without --report -.
constexpr std::size_t kProblemsShown = 20;

// The report on stdout, then the words stored unless it is a dry run.
int ImportCommand(const Options& options) {
    ImportOptions import;
    import.format = options.format;
    import.separator = options.separator;
    const std::size_t comma = options.languages.find(',');
    if (!options.languages.empty()) {
        if (comma == std::string::npos) return Fail("--languages needs two languages, as A,B");
        import.first = options.languages.substr(0, comma);
        import.second = options.languages.substr(comma + 1);
    }
    ImportPlan plan;
    std::string error;
    const Clock::time_point start = Clock::now();
    if (options.stats)
        ImportStepHook = [](const char* step) {
            const std::lock_guard<std::mutex> lock(importStepsTaken);
            importSteps.emplace_back(step, Clock::now());
        };
    if (!PlanImport(options.operand, import, plan, error)) {
        // A KVTML file whose languages the pair's names do not find: the message lists the
        // file's ones, and this is how to take two of them.
        if (options.languages.empty() && error.find("; its languages are ") != std::string::npos)
            error += "\nwordlist: choose two with --languages ID1,ID2";
        return Fail(error);
    }
    const Clock::time_point planned = Clock::now();
    // Had before the words are stored: what is said after them must not run out of memory.
    const std::string reportPath = ImportReportPath(*plan.pair);
    ImportRunOptions run;
    run.dryRun = options.dryRun;
    // A dictionary's report runs to hundreds of thousands of lines: a terminal gets the first
    // ones, the file all of them.
    if (!options.wholeReport) run.problemsShown = kProblemsShown;
    run.show = [](std::string_view text) { platform::WriteCrlfTextToStdout(text); };
    const ImportRunResult result = RunPlannedImport(plan, run);
    if (result.outcome == ImportOutcome::NoReport) return Fail(result.error);
    if (result.reportSaved)
        std::printf("report written to %s\n", reportPath.c_str());
    else
        std::fprintf(stderr, "wordlist: %s\n", result.reportError.c_str());
    if (result.outcome == ImportOutcome::NotBackedUp || result.outcome == ImportOutcome::Failed)
        return Fail(result.error);
    if (result.outcome == ImportOutcome::Imported) std::printf("imported into %s\n", WordFileName(*plan.pair));
    if (options.stats) {
        auto seconds = [](Clock::time_point a, Clock::time_point b) {
            return std::chrono::duration<double>(b - a).count();
        };
        std::fprintf(stderr, "read and plan\t%.3f s\nsort and write\t%.3f s\nrecords\t%zu\t%zu\npeak memory\t%.1f MB\n",
                     seconds(start, planned), seconds(planned, Clock::now()), plan.forward.size(), plan.backward.size(),
                     static_cast<double>(platform::PeakMemoryBytes()) / 1e6);
        std::stable_sort(importSteps.begin(), importSteps.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
        for (const auto& [step, at] : importSteps)
            std::fprintf(stderr, "step %s at\t%.3f s\n", step, seconds(start, at));
    }
    return 0;
}

int ExportCommand(const Options& options) {
    std::string error;
    const int written = ExportCurrentPair(options.operand, options.format, error);
    if (written < 0) return Fail(error);
    std::printf("%d words written to %s\n", written, options.operand.c_str());
    return 0;
}

// The new backup's name and how many files it holds; nothing when nothing had changed.
int BackupCommand(bool stats) {
    const Clock::time_point start = Clock::now();
    const BackupResult result = BackUpAndReport(WorkingFiles(), MessageOwner::None);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!result.name.empty()) std::printf("%s\t%zu\n", result.name.c_str(), result.copied);
    if (stats) std::fprintf(stderr, "backup\t%.1f ms\n", seconds * 1e3);
    return result.error == 0 ? 0 : 1;
}

// One line per backup, newest first: its name, then the files it holds.
int BackupsCommand() {
    for (const BackupInfo& backup : ListBackups()) {
        std::printf("%s", backup.name.c_str());
        for (const std::string& file : backup.files) std::printf("\t%s", file.c_str());
        std::printf("\n");
    }
    return 0;
}

int RestoreCommand(const Options& options) {
    const std::vector<BackupInfo> backups = ListBackups();
    const auto backup =
        std::find_if(backups.begin(), backups.end(), [&](const BackupInfo& b) { return b.name == options.operand; });
    if (backup == backups.end()) return Fail("there is no backup " + options.operand);
    for (const std::string& file : options.files)
        if (std::find(backup->files.begin(), backup->files.end(), file) == backup->files.end())
            return Fail(options.operand + " holds no " + file + "; nothing was changed");
    const std::vector<std::string> files = options.files.empty() ? PlanRestore(options.operand) : options.files;
    SetStoreAccess(StoreAccess::ReadOnly);
    const RestoreResult result = RestoreBackup(options.operand, files);
    ReportKeptBackup(result.backup, MessageOwner::None);
    if (result.backup.error != 0) return Fail("cannot back up " + result.backup.failedPath + "; nothing was changed");
    if (!result.backup.name.empty()) std::printf("the current files are in backup %s\n", result.backup.name.c_str());
    for (std::size_t i = 0; i < result.restored; ++i) std::printf("restored\t%s\n", files[i].c_str());
    CloseStore();
    if (result.error != 0)
        return Fail("cannot restore " + result.failedPath + " (error code " + std::to_string(result.error) + ")");
    return 0;
}

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The pair's review memory on UTC days, matched against its word file, and the count of the
// word file's live words; false without its files.
bool OpenPairReview(review::PairReviewFiles& files, review::ReviewMemory& memory, std::int32_t* liveWords = nullptr) {
    std::optional<review::PairReviewFiles> found = review::ReviewFilesOf(*CurrentPair);
    if (!found) return false;
    files = *found;
    ReadReviewSettings();
    const std::int32_t live = review::LoadPairMemory(files, review::RulesFromSettings(0), memory);
    if (liveWords) *liveWords = live;
    return true;
}

void PrintState(const review::WordMemory& w) {
    std::printf("%s\t%s\t%.4f\t%.4f\t%d\t%d\n", w.word.c_str(), review::TimeName(w.card.DueMs()).c_str(),
                w.card.stability, w.card.difficulty, w.card.reviews, w.card.lapses);
}

// The word is taken as the word file stores it, so the log names it exactly.
int ReviewCommand(const Options& options) {
    char* end = nullptr;
    const long rating = std::strtol(options.operand2.c_str(), &end, 10);
    if (*end != '\0' || rating < review::kAgain || rating > review::kEasy) return Fail("RATING is 1-4");
    const std::int32_t index = FindWord(options.operand.substr(0, kMaxTranslationChars).c_str());
    if (ReadWord(index) != 0 || !EqualsIgnoringAsciiCase(CurrentRecord.word, options.operand) ||
        IsDeleted(CurrentRecord))
        return Fail("there is no word " + options.operand + " in " + WordFileName(*CurrentPair));
    const std::string word = CurrentRecord.word;
    review::PairReviewFiles files;
    review::ReviewMemory memory;
    if (!OpenPairReview(files, memory)) return Fail("the review files' paths are too long");
    const review::ReplayRules rules = review::RulesFromSettings(0);
    if (review::LogReview(files, rules, {options.at.value_or(NowMs()), word, static_cast<int>(rating), 0}, memory) != 0)
        return Fail("cannot write " + files.log);
    review::SaveReviewMemory(files.log, files.state, rules, memory);
    PrintState(*memory.Find(word));
    return 0;
}

int DueCommand(const Options& options) {
    const Clock::time_point start = Clock::now();
    review::PairReviewFiles files;
    review::ReviewMemory memory;
    if (!OpenPairReview(files, memory)) return Fail("the review files' paths are too long");
    const Clock::time_point loaded = Clock::now();
    const std::vector<const review::WordMemory*> words =
        options.all ? review::ReviewedWords(memory) : review::DueWords(memory, options.at.value_or(NowMs()), 0);
    const Clock::time_point queued = Clock::now();
    for (const review::WordMemory* w : words) PrintState(*w);
    if (options.stats)
        std::fprintf(stderr, "load\t%.3f s\nqueue\t%.3f s\nwords\t%zu\t%zu\npeak memory\t%.1f MB\n",
                     std::chrono::duration<double>(loaded - start).count(),
                     std::chrono::duration<double>(queued - loaded).count(), memory.words().size(), words.size(),
                     static_cast<double>(platform::PeakMemoryBytes()) / 1e6);
    return 0;
}

int ReviewStatsCommand(const Options& options) {
    review::PairReviewFiles files;
    review::ReviewMemory memory;
    std::int32_t words = 0;
    if (!OpenPairReview(files, memory, &words)) return Fail("the review files' paths are too long");
    const std::int64_t now = options.at.value_or(NowMs());
    std::fputs(review::FiguresText(review::Figures(memory, now, 0, words), review::DayNumber(now, 0)).c_str(), stdout);
    return 0;
}

// A card per word in the order of its first line; a word's first review is state 0 (new),
// every later one 2 (review): long-term scheduling has no learning steps.
int ReviewLogExportCommand(const Options& options) {
    std::optional<review::PairReviewFiles> files = review::ReviewFilesOf(*CurrentPair);
    std::string log;
    if (!files || !platform::ReadFileBytes(files->log, log)) return Fail("there is no review log for this pair");
    std::string csv = "card_id,review_time,review_rating,review_state,review_duration\n";
    std::unordered_map<std::string, std::size_t> cards;
    std::vector<review::LogProblem> problems;
    std::size_t lines = 0;
    review::ScanReviewLog(
        log,
        [&](const review::LogEntry& e) {
            auto [it, first] = cards.emplace(review::ReviewMemory::Key(e.word), cards.size() + 1);
            csv += std::to_string(it->second) + ',' + std::to_string(e.atMs) + ',' + std::to_string(e.rating) + ',' +
                   (first ? "0," : "2,") + std::to_string(e.durationMs) + '\n';
            ++lines;
        },
        problems);
    if (platform::ReplaceFileWith(options.operand2, csv) != 0) return Fail("cannot write " + options.operand2);
    std::printf("%zu reviews of %zu words written to %s\n", lines, cards.size(), options.operand2.c_str());
    if (!problems.empty()) std::printf("%zu damaged lines left out\n", problems.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "strings") return StringsCommand(args);

    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) return Fail(error + "\n" + Usage());

    LoadUiStrings();
    PrepareCatalogue(ParseCommandLine(options.commandLine));
    if (options.pair >= 0) {
        if (!PairAt(options.pair)) return Fail("there is no pair " + std::to_string(options.pair));
        CurrentPair = PairAt(options.pair);
        SetCollation(*CurrentPair, LocaleReport::NoOwner);
    }
    if (options.command == "pairs") {
        PrintPairs();
        return 0;
    }
    if (options.command == "load") return LoadCommand(options);
    if (options.command == "backup") return BackupCommand(options.stats);
    if (options.command == "backups") return BackupsCommand();
    if (options.command == "restore") return RestoreCommand(options);
    if (options.command == "check") return CheckCommand(options.repair);
    if (options.command == "import") {
        try {
            return ImportCommand(options);
        } catch (const std::bad_alloc&) {
            return Fail("there is not enough memory to import " + options.operand + "; nothing was changed");
        }
    }
    if (options.command == "export") return ExportCommand(options);

    CheckSavedPracticeList();
    SetStoreAccess(options.command == "sort" ? StoreAccess::WordFileOnly : StoreAccess::ReadOnly);
    OpenStore();
    CountRecords();
    int result = 0;
    if (options.command == "count")
        std::printf("%d\t%d\n", WordCount, ListCount);
    else if (options.command == "dump")
        PrintRecords();
    else if (options.command == "find")
        result = FindCommand(options.operand, options.stats);
    else if (options.command == "lists")
        PrintLists();
    else if (options.command == "sort")
        result = SortCommand(options.stats, options.appended);
    else if (options.command == "review")
        result = ReviewCommand(options);
    else if (options.command == "due")
        result = DueCommand(options);
    else if (options.command == "review-stats")
        result = ReviewStatsCommand(options);
    else if (options.command == "review-log")
        result = ReviewLogExportCommand(options);
    CloseStore();
    return result;
}
