#include "tools/wordlist/exchange_commands.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/exchange/exchange.h"
#include "core/exchange/import_run.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "tools/wordlist/stats_timer.h"

namespace wordlist {
namespace {

// When each step of an import began, for --stats; the steps of storing the words are taken
// on a thread of their own.
class StepTimes final : public ImportProbe {
public:
    void Step(const char* step) override {
        const std::lock_guard<std::mutex> lock(taken_);
        steps.emplace_back(step, Clock::now());
    }
    std::vector<std::pair<const char*, Clock::time_point>> steps;  // read once the import is done

private:
    std::mutex taken_;
};

// Problem lines of an import's report printed on stdout without --report -.
constexpr std::size_t kProblemsShown = 20;

// The report on stdout, then the words stored unless it is a dry run.
int Import(const Options& options) {
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
    const StatsTimer timer(options.stats);
    StepTimes stepTimes;
    if (timer.on()) import.probe = &stepTimes;
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
    if (result.outcome == ImportOutcome::Unchanged)
        std::printf("nothing to import: %s\n", plan.report.skipped == plan.report.entries ? "no entry can be taken"
                                               : plan.report.skipped ? "every entry is already there or cannot be taken"
                                                                     : "every entry is already there");
    if (timer.on()) {
        std::fprintf(stderr, "read and plan\t%.3f s\nsort and write\t%.3f s\nrecords\t%zu\t%zu\npeak memory\t%.1f MB\n",
                     Seconds(timer.start(), planned), Seconds(planned, Clock::now()), plan.forward.size(),
                     plan.backward.size(), static_cast<double>(platform::PeakMemoryBytes()) / 1e6);
        std::stable_sort(stepTimes.steps.begin(), stepTimes.steps.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
        for (const auto& [step, at] : stepTimes.steps)
            std::fprintf(stderr, "step %s at\t%.3f s\n", step, Seconds(timer.start(), at));
    }
    return 0;
}

}  // namespace

int ImportCommand(const Options& options) {
    try {
        return Import(options);
    } catch (const std::bad_alloc&) {
        return Fail("there is not enough memory to import " + options.operand + "; nothing was changed");
    }
}

int ExportCommand(const Options& options) {
    std::string error;
    const int written = ExportCurrentPair(options.operand, options.format, error);
    if (written < 0) return Fail(error);
    std::printf("%d words written to %s\n", written, options.operand.c_str());
    return 0;
}

}  // namespace wordlist
