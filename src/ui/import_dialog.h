// The dialog that asks before an import writes (IMPORTDIALOG).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct ImportPlan;
struct ImportReport;

// Shows what importing `plan` (read from the file `fileName`) changes in the pair and in
// its reverse, how many lines it cannot take and where the whole report is (`reportPath`,
// empty when none was saved), and the new words. "Show report" calls `showReport` and keeps
// the dialog open; it is disabled without a report. True when the user chose Import.
bool ConfirmImport(HWND owner, const ImportPlan& plan, const std::wstring& fileName, const std::wstring& reportPath,
                   const std::function<void()>& showReport);

// "2 lines of the file cannot be imported, or only in part.", with "The whole report is in:"
// when there is a report; empty when every line can be.
std::wstring ImportProblemsText(const ImportReport& report, bool reportSaved);
