#include "core/exchange/import_run.h"

#include <future>
#include <new>
#include <stdexcept>

#include "core/backup/backup.h"
#include "core/text/utf8.h"
#include "platform/threads.h"

namespace {

void SetOutcome(ImportRunResult& result, bool reportMade, bool dryRun, bool unchanged, bool imported, bool backedUp) {
    result.outcome = !reportMade ? ImportOutcome::NoReport
                     : dryRun    ? ImportOutcome::DryRun
                     : unchanged ? ImportOutcome::Unchanged
                     : imported  ? ImportOutcome::Imported
                     : !backedUp ? ImportOutcome::NotBackedUp
                                 : ImportOutcome::Failed;
    if (result.outcome == ImportOutcome::NoReport)
        result.error = "there is not enough memory to make the report; nothing was changed";
    if (result.outcome == ImportOutcome::NotBackedUp) result.error = "nothing was changed";
}

}  // namespace

ImportRunResult RunPlannedImport(ImportPlan& plan, const ImportRunOptions& options) {
    ImportRunResult result;
    // The report is made while the word files are backed up and the words sorted, but no
    // word file is written until it is whole: made beside the writes, a report that ran out
    // of memory could only be told of once the word files had been replaced.
    std::promise<bool> reportMade;
    std::future<bool> reportReady = reportMade.get_future();
    bool made = false;
    std::string file, ownShown;
    std::string_view shown;
    auto report = [&] {
        try {
            if (plan.probe) plan.probe->Step("report");
            file = ImportReportFile(plan.report, *plan.pair);
            // The whole report in UTF-8 is the file's text after its mark; a dictionary's is
            // not made twice.
            if (plan.report.utf8 && options.problemsShown >= plan.report.problems.size())
                shown = std::string_view(file).substr(kUtf8Bom.size());
            else
                shown = ownShown = DescribeImport(plan.report, options.problemsShown, "\r\n");
            made = true;
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        } catch (...) {
            reportMade.set_value(false);  // the words wait for it
            throw;
        }
        reportMade.set_value(made);
        if (!made) return;
        // The words are written meanwhile: nothing thrown here may pass for their failure.
        try {
            if (options.show) options.show(shown);
            result.reportSaved = SaveImportReport(file, *plan.pair, result.reportError);
        } catch (const std::bad_alloc&) {
            result.reportError = "there is not enough memory to write the report";
        }
    };
    // The backup first, as before any import: it mostly waits for the disk, which leaves
    // the report a core.
    bool backedUp = false, imported = false;
    const bool unchanged = !plan.forwardChanged && !plan.backwardChanged;
    auto apply = [&] {
        if (options.dryRun || unchanged) return;
        try {
            backedUp = BackUpAndReport(WordFilesOf({plan.pair, plan.reverse}), MessageOwner::None,
                                       "import " + plan.report.file)
                           .error == 0;
        } catch (const std::bad_alloc&) {
        }
        if (backedUp) imported = ApplyImport(plan, result.error, [&] { return reportReady.get(); });
    };
    // The report on this thread: when no second one can be had, it is made before the words
    // wait for it.
    platform::Beside(report, apply);
    SetOutcome(result, made, options.dryRun, unchanged, imported, backedUp);
    return result;
}
