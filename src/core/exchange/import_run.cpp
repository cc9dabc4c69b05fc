#include "core/exchange/import_run.h"

#include <new>

#include "core/backup/backup.h"
#include "core/text/utf8.h"
#include "platform/beside.h"

ImportRunResult RunPlannedImport(ImportPlan& plan, const ImportRunOptions& options) {
    ImportRunResult result;
    auto report = [&] {
        if (ImportStepHook) ImportStepHook("report");
        // One text serves the report file and the user.
        const std::string file = ImportReportFile(plan.report, *plan.pair);
        if (options.show) {
            if (plan.report.utf8)
                options.show(std::string_view(file).substr(kUtf8Bom.size()));
            else
                options.show(DescribeImport(plan.report, static_cast<std::size_t>(-1), "\r\n"));
        }
        result.reportSaved = SaveImportReport(file, *plan.pair, result.reportError);
    };
    auto apply = [&] {
        if (options.dryRun) {
            result.outcome = ImportOutcome::DryRun;
        } else if (BackUpAndReport(WordFilesOf({plan.pair, plan.reverse}), MessageOwner::None).error != 0) {
            result.outcome = ImportOutcome::NotBackedUp;
            result.error = "nothing was changed";
        } else {
            result.outcome = ApplyImport(plan, result.error) ? ImportOutcome::Imported : ImportOutcome::Failed;
        }
    };
    try {
        platform::Beside(report, apply);
    } catch (const std::bad_alloc&) {
        result.outcome = ImportOutcome::NoReport;
        result.error = "there is not enough memory to make the report; nothing was changed";
    }
    return result;
}
