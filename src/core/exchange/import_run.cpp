#include "core/exchange/import_run.h"

#include <new>

#include "core/backup/backup.h"
#include "core/text/utf8.h"
#include "platform/beside.h"

ImportRunResult RunPlannedImport(ImportPlan& plan, const ImportRunOptions& options) {
    ImportRunResult result;
    // Made whole before the words are stored: made beside them, a report that ran out of
    // memory could only be told of once the word files had been replaced.
    std::string file, ownShown;
    std::string_view shown;
    try {
        if (ImportStepHook) ImportStepHook("report");
        file = ImportReportFile(plan.report, *plan.pair);
        // The whole report in UTF-8 is the file's text after its mark; a dictionary's is
        // not made twice.
        if (plan.report.utf8 && options.problemsShown >= plan.report.problems.size())
            shown = std::string_view(file).substr(kUtf8Bom.size());
        else
            shown = ownShown = DescribeImport(plan.report, options.problemsShown, "\r\n");
    } catch (const std::bad_alloc&) {
        result.error = "there is not enough memory to make the report; nothing was changed";
        return result;
    }
    // Nothing thrown here may pass for a failure of the import, which goes on beside it.
    auto keepReport = [&] {
        try {
            if (options.show) options.show(shown);
            result.reportSaved = SaveImportReport(file, *plan.pair, result.reportError);
        } catch (const std::bad_alloc&) {
            result.reportError = "there is not enough memory to write the report";
        }
    };
    auto apply = [&] {
        if (options.dryRun) {
            result.outcome = ImportOutcome::DryRun;
            return;
        }
        // A backup that runs out of memory has replaced no word file.
        bool backedUp = false;
        try {
            backedUp = BackUpAndReport(WordFilesOf({plan.pair, plan.reverse}), MessageOwner::None).error == 0;
        } catch (const std::bad_alloc&) {
        }
        if (!backedUp) {
            result.outcome = ImportOutcome::NotBackedUp;
            result.error = "nothing was changed";
        } else {
            result.outcome = ApplyImport(plan, result.error) ? ImportOutcome::Imported : ImportOutcome::Failed;
        }
    };
    platform::Beside(keepReport, apply);
    return result;
}
