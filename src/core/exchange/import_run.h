// An import from its plan to its end as the command-line companion runs it: the report
// made, kept and shown, the pair's word files backed up and the words stored.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/exchange/exchange.h"

struct ImportRunOptions {
    bool dryRun = false;
    // How many of the report's problem lines are shown; the report file keeps them all.
    std::size_t problemsShown = static_cast<std::size_t>(-1);
    // Writes the report's text for the user: its lines with CRLF ends, in the report's encoding.
    std::function<void(std::string_view)> show;
};

// Unchanged: the file holds nothing the word files lack; they are neither backed up nor written.
enum class ImportOutcome { NoReport, DryRun, Unchanged, NotBackedUp, Failed, Imported };

struct ImportRunResult {
    ImportOutcome outcome = ImportOutcome::NoReport;
    std::string error;  // what went wrong; empty after a dry run or an import
    bool reportSaved = false;
    std::string reportError;  // why the report file could not be written
};

// Makes the report's texts while, unless it is a dry run, the word files of the pair and
// its reverse are backed up and the words sorted; once both are done, writes the whole
// report to ImportReportPath and shows it while the word files are replaced (the two share
// no file). A report that cannot be made for want of memory leaves the word files as they
// were (NoReport).
ImportRunResult RunPlannedImport(ImportPlan& plan, const ImportRunOptions& options);
