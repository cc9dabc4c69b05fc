#include "ui/exchange_commands.h"

#include <commdlg.h>
#include <shellapi.h>

#include <new>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/exchange/exchange.h"
#include "core/exchange/kvtml.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/text_convert.h"
#include "ui/file_dialog.h"
#include "ui/import_dialog.h"
#include "ui/kvtml_languages_dialog.h"
#include "ui/progress_window.h"
#include "ui/secondary_window.h"
#include "ui/sorting_window.h"
#include "ui/ui_text.h"

namespace {

const char* const kImportFailed = "The words could not be imported:";

// A filter of the file dialogs: "description (pattern)", then the pattern, each ended by a
// zero; the list ends with one more.
void AddFilter(std::wstring& filter, const std::wstring& description, const std::string& pattern) {
    const std::wstring wide(pattern.begin(), pattern.end());  // ASCII
    filter += description + L" (" + wide + L")";
    filter += L'\0';
    filter += wide;
    filter += L'\0';
}

std::wstring Utf8Wide(const std::string& text, bool& valid) {
    std::wstring wide;
    valid = platform::ToWide(text, CP_UTF8, platform::Conversion::Exact, wide);
    return wide;
}

std::string WideUtf8(const std::wstring& wide) {
    std::string text;
    platform::FromWide(wide, CP_UTF8, platform::Conversion::Lenient, text);
    return text;
}

void ShowExchangeMessage(HWND owner, const std::wstring& text, UiKey caption, UINT icon) {
    UiMessageBox(owner, text + L"   ", UiWide(caption), MB_OK | icon);
}

// The core's message names files as the file functions do.
void Failed(HWND owner, const char* key, const char* builtIn, const std::string& error) {
    ShowExchangeMessage(owner, UiWideOr(key, builtIn) + L"\n\n" + FileNameWide(error), UiKey::Error, MB_ICONWARNING);
}

// The file chosen in the open or save dialog, named for the ...A file functions; none when
// the user cancelled or the name cannot be passed on. `filterIndex` goes in as the filter
// first shown and comes back as the one chosen.
std::optional<std::string> ChooseFile(HWND owner, bool save, const std::wstring& title, const std::wstring& filter,
                                      DWORD& filterIndex) {
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = filterIndex;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // Any default extension makes the save dialog give a bare name the chosen type's one.
    const std::string anyExtension = kExchangeFormats[0].extensions[0];
    const std::wstring defaultExtension(anyExtension.begin(), anyExtension.end());
    dialog.lpstrDefExt = save ? defaultExtension.c_str() : nullptr;
    dialog.Flags |= save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST;
    if (!RunFileDialog(dialog, save)) return std::nullopt;
    filterIndex = dialog.nFilterIndex;
    std::string name;
    if (!FileNameFromWide(file, name)) {
        ShowExchangeMessage(
            owner,
            UiWideOr("ExchangeBadFileName",
                     "The name of this file holds a character that cannot be used here. Please choose another "
                     "name."),
            UiKey::Error, MB_ICONWARNING);
        return std::nullopt;
    }
    return name;
}

// The whole report, every line the import cannot take among it, in the working directory;
// its full path, or none when it cannot be written.
std::optional<std::wstring> SaveReport(HWND owner, const ImportReport& report) {
    // The file as the user chose it, in the report's encoding; a dictionary's report is not
    // copied for it.
    const std::wstring path = FileNameWide(report.file);
    const std::string shown = report.utf8 ? WideUtf8(path) : CharsetFromWide(path.c_str(), CurrentPair->charset1);
    std::string error;
    if (!WriteImportReport(report, *CurrentPair, error, shown)) {
        Failed(owner, "ImportReportFailed", "The whole report could not be saved:", error);
        return std::nullopt;
    }
    const std::wstring relative = FileNameWide(ImportReportPath(*CurrentPair));
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(full, n) : relative;
}

// In the program the user's system opens text with, else in Notepad.
void OpenReport(HWND owner, const std::wstring& path) {
    if (reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
        return;
    ShellExecuteW(owner, L"open", L"notepad.exe", (L"\"" + path + L"\"").c_str(), nullptr, SW_SHOWNORMAL);
}

// An import that changes nothing asks nothing and backs nothing up; the lines it cannot
// take are still offered in the whole report.
void TellNothingToImport(HWND owner, const ImportReport& report, const std::wstring& reportPath) {
    const std::wstring nothing =
        report.skipped == report.entries
            ? UiWideOr("ImportNothingTaken", "Nothing to import: no entry of this file can be taken.")
            : UiWideOr("ImportNothing", "Nothing to import: every entry is already there.");
    const std::wstring problems = ImportProblemsText(report, !reportPath.empty());
    if (problems.empty() || reportPath.empty())
        return ShowExchangeMessage(owner, problems.empty() ? nothing : nothing + L"\n\n" + problems, UiKey::Dictionary,
                                   MB_ICONINFORMATION);
    const std::wstring offer = nothing + L"\n\n" + problems + L"\n" + reportPath + L"\n\n" +
                               UiWideOr("ImportNothingShowReport", "Open the report now?");
    if (UiMessageBox(owner, offer + L"   ", UiWide(UiKey::Dictionary), MB_YESNO | MB_ICONINFORMATION) == IDYES)
        OpenReport(owner, reportPath);
}

// The file's name without its folder, as the user chose it.
std::wstring ShortNameWide(const std::string& path) {
    const std::wstring name = FileNameWide(path);
    const std::size_t slash = name.find_last_of(L"\\/");
    return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

// "German (de)" as the file names a language, its id when it gives neither name nor locale.
std::wstring LanguageWide(const KvtmlLanguage& language) {
    bool valid = false;
    if (language.name.empty() && language.locale.empty()) return Utf8Wide(language.id, valid);
    if (language.locale.empty() || language.name.empty()) return Utf8Wide(language.name + language.locale, valid);
    return Utf8Wide(language.name + " (" + language.locale + ")", valid);
}

// A KVTML file's two languages, passed on by id: the ones named as the pair's, or, when
// the names do not settle it or the file holds more, the ones the user picks. False when
// the user cancelled. A file that cannot be read is left for the import to report.
bool ChooseLanguages(HWND owner, const std::string& path, ImportOptions& options) {
    std::string text, error;
    std::vector<KvtmlLanguage> languages;
    if (FormatOfFile(path, "") != ExchangeFormat::Kvtml || !platform::ReadFileBytes(path, text) ||
        !ReadKvtmlLanguages(text, languages, error))
        return true;
    KvtmlMatch match =
        MatchKvtmlLanguages(languages, WideUtf8(NameWide(CurrentPair->name1)), WideUtf8(NameWide(CurrentPair->name2)));
    if (match.choose) {
        std::vector<std::wstring> shown;
        for (const KvtmlLanguage& language : languages) shown.push_back(LanguageWide(language));
        const std::optional<std::pair<int, int>> chosen = ChooseKvtmlLanguages(owner, shown, match.first, match.second);
        if (!chosen) return false;
        std::tie(match.first, match.second) = *chosen;
    }
    options.first = languages[static_cast<std::size_t>(match.first)].id;
    options.second = languages[static_cast<std::size_t>(match.second)].id;
    return true;
}

// The word files are replaced while closed: Windows replaces no file that is open.
bool Apply(ImportPlan& plan, std::string& error) {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    const bool done = WhileShowing([] { ShowSortingWindow(); }, CloseSortingWindow,
                                   [&] {
                                       CloseStore();
                                       const bool applied = ApplyImport(plan, error);
                                       ReopenStore();
                                       return applied;
                                   });
    SetCursor(previous);
    return done;
}

// A large dictionary takes seconds to plan: the sorting window shows the entries read, and
// Escape or its close box stops the plan, before anything is written.
bool Plan(const std::string& path, ImportOptions& options, ImportPlan& plan, std::string& error) {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    // Drawing and looking at the queue a few times a second is enough, and costs the plan nothing.
    DWORD shown = GetTickCount() - 1000;
    options.progress = [&shown](std::int64_t entries) {
        if (GetTickCount() - shown < 100) return true;
        shown = GetTickCount();
        SortingWindowProgress().Show(SortPhase::Reading, entries);
        return !SortingWindowCancelled();
    };
    const auto show = [] {
        ShowSortingWindow(UiWideOr("ImportPlanningBusy", "Reading the file to import. Esc cancels the import."));
    };
    const bool planned = WhileShowing(show, CloseSortingWindow, [&] { return PlanImport(path, options, plan, error); });
    SetCursor(previous);
    return planned;
}

// Plans the import of the chosen file, asks, and stores the words. `separator` 0 takes
// the one the file names or shows.
void ImportAsked(HWND owner, const std::string& path, char separator) {
    ImportOptions options;
    options.separator = separator;
    if (!ChooseLanguages(owner, path, options)) return;
    ImportPlan plan;
    std::string error;
    if (!Plan(path, options, plan, error)) {
        if (plan.cancelled) return;
        return Failed(owner, "ImportFailed", kImportFailed, error);
    }
    const std::wstring reportPath = SaveReport(owner, plan.report).value_or(L"");
    if (!plan.forwardChanged && !plan.backwardChanged) return TellNothingToImport(owner, plan.report, reportPath);
    if (!ConfirmImport(owner, plan, ShortNameWide(path), reportPath, [&] { OpenReport(owner, reportPath); })) return;
    if (BackUpAndReport(WordFilesOf({plan.pair, plan.reverse}), MessageOwner::ActiveWindow, "import " + path).error !=
        0)
        return;
    if (!Apply(plan, error)) return Failed(owner, "ImportFailed", kImportFailed, error);
    ShowExchangeMessage(owner, UiWideOr("ImportDone", "The words have been imported."), UiKey::Dictionary,
                        MB_ICONINFORMATION);
}

}  // namespace

void ImportWords(HWND owner) {
    if (SecondaryWindowOpen) return;
    // After the word lists, a file type for each separator: where a file's lines do not
    // show which one separates the fields, the user says it by the type.
    static const struct {
        const char* key;
        const char* builtIn;
        char separator;
    } kSeparatedTypes[] = {{"ImportFilterSemicolon", "Text with fields separated by semicolons", ';'},
                           {"ImportFilterComma", "Text with fields separated by commas", ','},
                           {"ImportFilterTab", "Text with fields separated by tabs", '\t'}};
    std::wstring filter;
    AddFilter(filter, UiWideOr("ImportFilterWordLists", "Word lists"),
              ReadPattern({ExchangeFormat::Tsv, ExchangeFormat::Csv, ExchangeFormat::Anki, ExchangeFormat::Kvtml,
                           ExchangeFormat::FreeDict}));
    for (const auto& type : kSeparatedTypes)
        AddFilter(filter, UiWideOr(type.key, type.builtIn), ReadPattern({ExchangeFormat::Tsv, ExchangeFormat::Csv}));
    AddFilter(filter, UiWideOr("ImportFilterAll", "All files"), "*.*");
    DWORD filterIndex = 1;
    const std::optional<std::string> path =
        ChooseFile(owner, false, UiWideOr("ImportCaption", "Import words"), filter, filterIndex);
    if (!path) return;
    const char separator = filterIndex >= 2 && filterIndex < 2 + std::size(kSeparatedTypes)
                               ? kSeparatedTypes[filterIndex - 2].separator
                               : 0;
    // The plan and its report are given back before the failure is told.
    try {
        ImportAsked(owner, *path, separator);
        return;
    } catch (const std::bad_alloc&) {
    }
    Failed(owner, "ImportFailed", kImportFailed, "there is not enough memory to import this file; nothing was changed");
}

void ExportWords(HWND owner) {
    if (SecondaryWindowOpen) return;
    std::wstring filter;
    for (const ExchangeFormatInfo& format : kExchangeFormats)
        AddFilter(filter, UiWideOr(format.typeKey, format.typeText), WritePattern(format.format));
    DWORD filterIndex = 1;
    const std::optional<std::string> path =
        ChooseFile(owner, true, UiWideOr("ExportCaption", "Export words"), filter, filterIndex);
    if (!path) return;
    const std::size_t choice = filterIndex >= 1 && filterIndex <= std::size(kExchangeFormats) ? filterIndex - 1 : 0;
    std::string error;
    const int written = ExportCurrentPair(*path, kExchangeFormats[choice].format, error);
    if (written < 0) return Failed(owner, "ExportFailed", "The words could not be exported:", error);
    ShowExchangeMessage(owner,
                        UiWideOr("ExportDone1", "Exported") + L" " + std::to_wstring(written) + L" " +
                            UiWideOr("ExportDone2", "words to") + L"\n" + FileNameWide(*path),
                        UiKey::Dictionary, MB_ICONINFORMATION);
}
