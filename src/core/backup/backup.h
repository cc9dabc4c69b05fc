// Automatic backups of the user's files: copies of what changed, one folder per backup
// under backups\ named after the local time, thinned out by a keeping rule, and
// restoring from them.
#pragma once

#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"

constexpr char kBackupRoot[] = "backups";

// A backup folder's name read back: the local time it was made, and its place among
// those made in the same second (1 for the first, whose name has no "-N").
struct BackupStamp {
    int year, month, day, hour, minute, second;
    int sequence = 1;
};
std::optional<BackupStamp> ParseBackupName(const std::string& name);
std::string BackupName(const BackupStamp& stamp);

// For backups in order, oldest first: which ones stay. The 10 newest, and the newest of
// each of the 12 months that end with `year`-`month`.
std::vector<bool> KeptBackups(const std::vector<BackupStamp>& oldestFirst, int year, int month);

// The files that hold the user's work, by relative path: word files and their review logs,
// practice-list files and score files, the catalogue and language.ini.
std::vector<std::string> WorkingFiles();

struct WordListDescriptor;
// The word files of the pairs given (null ones left out), as an import replaces them.
std::vector<std::string> WordFilesOf(std::initializer_list<const WordListDescriptor*> pairs);

// Before the current practice list is replaced as a whole: true when its file is backed
// up (or there is none), false when that failed, which the user was shown.
bool BackUpCurrentList(MessageOwner owner);

// What a backed-up file is to the user, for the restore window to name it: a pair's word
// list, review log, practice list or best score (with the list's name), the catalogue, the
// choice of interface language, or something else (`pair` null).
struct BackupFileMeaning {
    enum class Kind { Other, WordList, ReviewLog, PracticeList, BestScore, Catalogue, InterfaceLanguage };
    Kind kind = Kind::Other;
    const WordListDescriptor* pair = nullptr;
    std::string list;  // of a practice list or its best score
};
BackupFileMeaning MeaningOfBackupFile(const std::string& path);

struct BackupInfo {
    std::string name;
    BackupStamp stamp;
    std::vector<std::string> files;  // relative paths, as they are restored
    // What it was made for: "start-up", "closing", "import FILE", "restore", "list" (before
    // a practice list was replaced), "load FILE", "repair", "command"; empty when unknown.
    std::string why;
};
// Newest first.
std::vector<BackupInfo> ListBackups();

struct BackupResult {
    std::string name;  // the new backup; empty when nothing had changed
    std::size_t copied = 0;
    std::string failedPath;  // on failure: the file that could not be copied
    int error = 0;           // 0, or the platform's error code; a failed run keeps nothing
    // A backup the keeping rule let go that had to stay: a copy it holds could not be handed
    // on to the next one. Its name and the error code; empty when none.
    std::string keptName;
    int keptError = 0;
};

// Copies each of `paths` that differs from its newest backup copy (or has none) into a
// new backup folder, then drops the backups the keeping rule lets go, never the one just
// made. Backups are ordered by when they were made, which the clock in their names may
// not tell (it can be put back). Nothing changed, nothing copied and no folder made.
// `why` says what for, as BackupInfo::why reads it back.
BackupResult BackUpFiles(const std::vector<std::string>& paths, std::time_t now = std::time(nullptr),
                         const std::string& why = {});
// The same, and a failure shown to the user once; the work goes on either way.
BackupResult BackUpAndReport(const std::vector<std::string>& paths, MessageOwner owner, const std::string& why = {});
// Tells the user of a backup that had to be kept, once a run.
void ReportKeptBackup(const BackupResult& result, MessageOwner owner);

// The files of backup `name` that differ from the current ones (or are missing now).
std::vector<std::string> PlanRestore(const std::string& name);

struct RestoreResult {
    BackupResult backup;  // of the current files, made first
    std::size_t restored = 0;
    std::string failedPath;
    int error = 0;
};
// Backs up the current files of `paths`, then replaces them by their copies in backup
// `name`, each in one step. Nothing is replaced when that backup fails. The store is
// closed meanwhile and opened again on the catalogue as restored.
RestoreResult RestoreBackup(const std::string& name, const std::vector<std::string>& paths,
                            std::time_t now = std::time(nullptr));
