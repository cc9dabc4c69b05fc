#include "ui/restore_window.h"

#include <windowsx.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/strings/ui_strings.h"
#include "resource.h"
#include "ui/app_state.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"
#include "ui/ui_text.h"

namespace {

const char kClassName[] = "herstel";
constexpr int kWidth = 560, kHeight = 420;

struct RestoreState {
    HWND backups, files, ok;
    std::vector<BackupInfo> shown;
    std::vector<std::string> plan;  // what the chosen backup puts back
};

RestoreState s;

std::string Format(const char* key, const char* builtIn, const std::string& a, int n = 0) {
    char text[600];
    std::snprintf(text, sizeof text, UiTextOr(key, builtIn), a.c_str(), n);
    return text;
}

// What a file is to the user: "dutch - english: word list", "... practice list "week1"", or
// its path when it is none of the pair's files.
std::wstring MeaningWide(const std::string& path) {
    using Kind = BackupFileMeaning::Kind;
    const BackupFileMeaning m = MeaningOfBackupFile(path);
    std::wstring text;
    switch (m.kind) {
        case Kind::Other:
            return FileNameWide(path);
        case Kind::Catalogue:
            return UiWideOr("RestoreCatalogue", "the list of languages");
        case Kind::InterfaceLanguage:
            return UiWideOr("RestoreInterfaceLanguage", "the choice of interface language");
        case Kind::WordList:
            text = UiWideOr("RestoreWordList", "%s: word list");
            break;
        case Kind::ReviewLog:
            text = UiWideOr("RestoreReviewLog", "%s: review history");
            break;
        case Kind::PracticeList:
            text = UiWideOr("RestorePracticeList", "%s: practice list \"%s\"");
            break;
        case Kind::BestScore:
            text = UiWideOr("RestoreBestScore", "%s: best score of \"%s\"");
            break;
    }
    return WithTexts(text, {PairNameWide(*m.pair), FileNameWide(m.list)});
}

// Why a backup was made, in the user's words: "at start-up", "before importing words.txt".
std::wstring WhyWide(const std::string& why) {
    static const struct {
        const char* code;
        const char* key;
        const char* builtIn;  // %s: the file's name
    } kReasons[] = {{"start-up", "RestoreWhyStartup", "at start-up"},
                    {"closing", "RestoreWhyClosing", "when the program closed"},
                    {"import", "RestoreWhyImport", "before importing %s"},
                    {"restore", "RestoreWhyRestore", "before a restore"},
                    {"list", "RestoreWhyList", "before a practice list was replaced"},
                    {"load", "RestoreWhyLoad", "before loading %s"},
                    {"repair", "RestoreWhyRepair", "before a repair"},
                    {"command", "RestoreWhyCommand", "made with wordlist backup"}};
    const std::size_t space = why.find(' ');
    const std::string code = why.substr(0, space);
    for (const auto& r : kReasons) {
        if (code != r.code) continue;
        const std::string file = space == std::string::npos ? std::string() : why.substr(space + 1);
        return WithTexts(UiWideOr(r.key, r.builtIn), {FileNameWide(file.substr(file.find_last_of("\\/") + 1))});
    }
    return std::wstring();
}

// "7 Dec 2026 14:25:03   at start-up   3 files: dutch - english: word list, ..."
std::wstring BackupLine(const BackupInfo& b) {
    SYSTEMTIME made{};
    made.wYear = static_cast<WORD>(b.stamp.year);
    made.wMonth = static_cast<WORD>(b.stamp.month);
    made.wDay = static_cast<WORD>(b.stamp.day);
    made.wHour = static_cast<WORD>(b.stamp.hour);
    made.wMinute = static_cast<WORD>(b.stamp.minute);
    made.wSecond = static_cast<WORD>(b.stamp.second);
    char count[80];
    std::snprintf(count, sizeof count, UiTextOr("RestoreFileCount", "%d file(s)"), static_cast<int>(b.files.size()));
    const std::wstring why = WhyWide(b.why);
    std::wstring line = DayWide(made, true, true) + L"   " + (why.empty() ? L"" : why + L"   ") +
                        WideFromCharset(count, UiCharset) + L": ";
    for (std::size_t i = 0; i < b.files.size(); ++i) line += (i ? L", " : L"") + MeaningWide(b.files[i]);
    return line;
}

void ShowPlan() {
    const int chosen = ListBox_GetCurSel(s.backups);
    s.plan = chosen >= 0 ? PlanRestore(s.shown[static_cast<std::size_t>(chosen)].name) : std::vector<std::string>{};
    ListBox_ResetContent(s.files);
    for (const std::string& file : s.plan) {
        const std::wstring meaning = MeaningWide(file), path = FileNameWide(file);
        const std::wstring line = meaning == path ? path : meaning + L"   (" + path + L")";
        SendMessageW(s.files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    if (chosen >= 0 && s.plan.empty())
        SendMessageW(
            s.files, LB_ADDSTRING, 0,
            reinterpret_cast<LPARAM>(UiWideOr("RestoreNothing", "(the files are as they are in this backup)").c_str()));
    EnableWindow(s.ok, !s.plan.empty());
}

// The current files are backed up first; what happened is told before the window goes.
void Restore(HWND hwnd) {
    const std::string name = s.shown[static_cast<std::size_t>(ListBox_GetCurSel(s.backups))].name;
    const RestoreResult result = RestoreBackup(name, s.plan);
    std::string text;
    if (result.backup.error != 0)
        text = Format("RestoreBackupFailed", "Could not back up %s (error code %d). Nothing was restored.",
                      result.backup.failedPath, result.backup.error);
    else if (result.error != 0)
        text = Format("RestoreFailed",
                      "Could not restore %s (error code %d). The files restored before it stay restored; "
                      "those they replaced are in the newest backup.",
                      result.failedPath, result.error);
    else
        text = Format("RestoreDone", "The files have been restored from backup %s.", name);
    const bool done = result.backup.error == 0 && result.error == 0;
    UiMessageBox(hwnd, text, Ui(UiKey::Dictionary), done ? MB_ICONINFORMATION : MB_ICONWARNING);
    ReportKeptBackup(result.backup, MessageOwner::ActiveWindow);
    // The catalogue may be another one now: the main window's menu and flags follow it.
    PostMessageW(MainWindow, kCatalogueChanged, 0, 0);
    DestroyWindow(hwnd);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    CreateLabel(hwnd, 0, UiWideOr("RestoreBackups", "Backups, newest first:"), 10, 10, 530, 20, Fonts.GuiFont);
    s.backups = CreateControl(hwnd, L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY,
                              WS_EX_CLIENTEDGE, IDC_RESTORE_BACKUPS, 10, 30, 530, 160, Fonts.GuiFont);
    CreateLabel(hwnd, 0, UiWideOr("RestorePutsBack", "Files it puts back:"), 10, 200, 530, 20, Fonts.GuiFont);
    s.files = CreateControl(hwnd, L"LISTBOX", L"", WS_VSCROLL | LBS_NOSEL, WS_EX_CLIENTEDGE, IDC_RESTORE_FILES, 10, 220,
                            530, 110, Fonts.GuiFont);
    s.ok = CreateButton(hwnd, IDC_RESTORE_OK, UiKey::OK, 340, 345, 95, 28);
    CreateButton(hwnd, IDC_RESTORE_CANCEL, UiKey::Cancel, 445, 345, 95, 28);
    s.shown = ListBackups();
    for (const BackupInfo& b : s.shown)
        SendMessageW(s.backups, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(BackupLine(b).c_str()));
    // Wide enough to scroll to the end of the longest line.
    ListBox_SetHorizontalExtent(s.backups, 4000);
    if (s.shown.empty())
        SendMessageW(s.backups, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(UiWideOr("RestoreNone", "(there are no backups yet)").c_str()));
    else
        ListBox_SetCurSel(s.backups, 0);
    ShowPlan();
    SetFocus(s.backups);
    return TRUE;
}

void OnCommand(HWND hwnd, int id, HWND, UINT code) {
    if (id == IDC_RESTORE_BACKUPS && code == LBN_SELCHANGE && !s.shown.empty()) return ShowPlan();
    if (id == IDC_RESTORE_OK && !s.plan.empty()) return Restore(hwnd);
    if (id == IDC_RESTORE_CANCEL || id == IDCANCEL) DestroyWindow(hwnd);
}

void OnDestroy(HWND) { SecondaryWindowClosed(s); }

LRESULT CALLBACK RestoreWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorGrey);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND OpenRestoreWindow() {
    return OpenCentredWindow(kClassName, RestoreWindowProc, 0, UiTextOr("RestoreCaption", "Restore from backup"),
                             WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, kWidth, kHeight);
}
