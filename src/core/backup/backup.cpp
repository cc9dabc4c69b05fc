#include "core/backup/backup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "core/text/fixed_text.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace {

constexpr std::size_t kKeepNewest = 10;
constexpr int kKeepMonths = 12;
// More backups than this in one second means something loops; the run fails instead.
constexpr int kMaxSequence = 99;

bool EndsWith(std::string_view name, std::string_view suffix) {
    return name.size() > suffix.size() && EqualsIgnoringAsciiCase(name.substr(name.size() - suffix.size()), suffix);
}

bool Digits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string FolderPath(const std::string& name) { return std::string(kBackupRoot) + "\\" + name; }

// "wordlists\" and "wordlists" name the same directory.
std::string WithoutSeparator(std::string dir) {
    while (!dir.empty() && dir.back() == '\\') dir.pop_back();
    return dir;
}

// The files below `dir`, by path relative to it; half-made copies (".tmp") are not files.
void CollectFiles(const std::string& dir, const std::string& relative, std::vector<std::string>& files) {
    std::vector<platform::DirEntry> entries;
    if (!platform::ListDirectory(dir, entries)) return;
    for (const platform::DirEntry& e : entries) {
        const std::string path = relative.empty() ? e.name : relative + "\\" + e.name;
        if (e.isDirectory)
            CollectFiles(dir + "\\" + e.name, path, files);
        else if (!EndsWith(e.name, ".tmp"))
            files.push_back(path);
    }
}

void RemoveTree(const std::string& dir) {
    std::vector<platform::DirEntry> entries;
    platform::ListDirectory(dir, entries);
    for (const platform::DirEntry& e : entries) {
        if (e.isDirectory)
            RemoveTree(dir + "\\" + e.name);
        else
            platform::RemoveFile(dir + "\\" + e.name);
    }
    platform::RemoveDir(dir);
}

// Makes every directory on the way to `path` (a file); those that exist stay.
void CreateDirsFor(const std::string& path) {
    for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        platform::CreateDir(path.substr(0, at));
}

bool SameBytes(const std::string& a, const std::string& b) {
    FILE* fa = platform::OpenFile(a, "rb");
    FILE* fb = fa ? platform::OpenFile(b, "rb") : nullptr;
    bool same = fa && fb && platform::FileSize(fa) == platform::FileSize(fb);
    static char bufferA[1 << 16], bufferB[1 << 16];
    while (same) {
        const std::size_t na = std::fread(bufferA, 1, sizeof bufferA, fa);
        const std::size_t nb = std::fread(bufferB, 1, sizeof bufferB, fb);
        same = na == nb && std::memcmp(bufferA, bufferB, na) == 0 && !std::ferror(fa) && !std::ferror(fb);
        if (na == 0) break;
    }
    if (fa) std::fclose(fa);
    if (fb) std::fclose(fb);
    return same;
}

// Copies `source` to `target` through a temporary file, so `target` is whole or unchanged.
// The copy keeps the source's last-write time (where it can), so that the next backup
// knows it unchanged without reading it.
int CopyInOneStep(const std::string& source, const std::string& target) {
    const std::optional<std::string> temporary = platform::MakePath({target, ".tmp"});
    if (!temporary) return -1;
    CreateDirsFor(target);
    const int error =
        platform::ReplaceFile(target, *temporary, [&](FILE* out) { return platform::CopyFileBytes(source, out); });
    if (error == 0) platform::TakeWriteTime(target, source);
    return error;
}

// The local time a backup's name gives.
std::time_t TimeOf(const BackupStamp& s) {
    std::tm t{};
    t.tm_year = s.year - 1900;
    t.tm_mon = s.month - 1;
    t.tm_mday = s.day;
    t.tm_hour = s.hour;
    t.tm_min = s.minute;
    t.tm_sec = s.second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// A file, or its newest backup copy, with its stamp.
struct Stamped {
    std::string path;
    platform::FileStamp stamp;
};

// Whether a file holds what its copy in the backup taken at `taken` holds. When the copy
// still has the file's size and write time, and the file had been written well before the
// copy was taken (FAT keeps write times in steps of two seconds), no later write can have
// left that time behind, and the stamps are taken at their word: opening and reading both,
// for every file at every start and exit, is what the check costs otherwise.
bool SameAsCopy(const Stamped& file, const Stamped& copy, std::time_t taken) {
    constexpr std::int64_t kWriteTimeStep = 2;
    const bool stampsAgree =
        file.stamp == copy.stamp && file.stamp.written / 1000000000 + kWriteTimeStep < static_cast<std::int64_t>(taken);
    return stampsAgree || SameBytes(file.path, copy.path);
}

std::optional<std::string> CopyPath(const std::string& name, const std::string& relative) {
    return platform::MakePath({kBackupRoot, "\\", name, "\\", relative});
}

// Sequence numbers compare as numbers: "-10" comes after "-9".
bool Older(const BackupStamp& a, const BackupStamp& b) {
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second, a.sequence) <
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second, b.sequence);
}

// The backup folders, oldest first; other names under backups\ are not ours and stay.
std::vector<BackupInfo> Folders() {
    std::vector<platform::DirEntry> entries;
    std::vector<BackupInfo> folders;
    platform::ListDirectory(kBackupRoot, entries);
    for (const platform::DirEntry& e : entries)
        if (e.isDirectory)
            if (const std::optional<BackupStamp> stamp = ParseBackupName(e.name))
                folders.push_back({e.name, *stamp, {}});
    std::sort(folders.begin(), folders.end(),
              [](const BackupInfo& a, const BackupInfo& b) { return Older(a.stamp, b.stamp); });
    return folders;
}

// A dropped backup hands the copies the next newer one lacks on to it: they are that
// one's files too, and may be the only copies left.
void DropBackup(const std::string& name, const std::string& next) {
    std::vector<std::string> files;
    CollectFiles(FolderPath(name), "", files);
    for (const std::string& file : files) {
        const std::optional<std::string> from = CopyPath(name, file), to = CopyPath(next, file);
        if (from && to && !platform::FileExists(*to)) {
            CreateDirsFor(*to);
            platform::MoveIntoPlace(*from, *to);
        }
    }
    RemoveTree(FolderPath(name));
}

void ApplyKeepingRule(std::time_t now) {
    const std::vector<BackupInfo> folders = Folders();
    std::vector<BackupStamp> stamps;
    for (const BackupInfo& f : folders) stamps.push_back(f.stamp);
    const std::tm local = *std::localtime(&now);
    const std::vector<bool> kept = KeptBackups(stamps, local.tm_year + 1900, local.tm_mon + 1);
    for (std::size_t i = 0; i + 1 < folders.size(); ++i)
        if (!kept[i]) DropBackup(folders[i].name, folders[i + 1].name);
}

// A name no backup has yet: the local time, and a sequence number after the first of a second.
std::optional<std::string> NewFolder(std::time_t now) {
    const std::tm local = *std::localtime(&now);
    BackupStamp stamp{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    platform::CreateDir(kBackupRoot);
    std::vector<platform::DirEntry> entries;
    platform::ListDirectory(kBackupRoot, entries);
    for (; stamp.sequence <= kMaxSequence; ++stamp.sequence) {
        const std::string name = BackupName(stamp);
        const bool taken = std::any_of(entries.begin(), entries.end(), [&](const platform::DirEntry& e) {
            return platform::SameFileName(e.name, name);
        });
        if (!taken) return platform::CreateDir(FolderPath(name)) == 0 ? std::optional(name) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<BackupStamp> ParseBackupName(const std::string& name) {
    // YYYY-MM-DD-HHMMSS, then "-N" from the second backup of a second on.
    if (name.size() < 17 || name[4] != '-' || name[7] != '-' || name[10] != '-') return std::nullopt;
    const std::string_view n(name);
    if (!Digits(n.substr(0, 4)) || !Digits(n.substr(5, 2)) || !Digits(n.substr(8, 2)) || !Digits(n.substr(11, 6)))
        return std::nullopt;
    BackupStamp s{};
    s.year = std::stoi(name.substr(0, 4));
    s.month = std::stoi(name.substr(5, 2));
    s.day = std::stoi(name.substr(8, 2));
    s.hour = std::stoi(name.substr(11, 2));
    s.minute = std::stoi(name.substr(13, 2));
    s.second = std::stoi(name.substr(15, 2));
    s.sequence = 1;
    if (name.size() > 17) {
        if (name[17] != '-' || !Digits(n.substr(18)) || name.size() > 20) return std::nullopt;
        s.sequence = std::stoi(name.substr(18));
        if (s.sequence < 2) return std::nullopt;
    }
    if (s.month < 1 || s.month > 12 || s.day < 1 || s.day > 31 || s.hour > 23 || s.minute > 59 || s.second > 60)
        return std::nullopt;
    return s;
}

std::string BackupName(const BackupStamp& s) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d-%02d%02d%02d", s.year, s.month, s.day, s.hour, s.minute, s.second);
    std::string name = text;
    if (s.sequence > 1) name += "-" + std::to_string(s.sequence);
    return name;
}

std::vector<bool> KeptBackups(const std::vector<BackupStamp>& oldestFirst, int year, int month) {
    const std::size_t count = oldestFirst.size();
    std::vector<bool> kept(count, false);
    for (std::size_t i = count > kKeepNewest ? count - kKeepNewest : 0; i < count; ++i) kept[i] = true;
    const int thisMonth = year * 12 + month - 1;
    std::set<int> monthsSeen;
    for (std::size_t i = count; i-- > 0;) {
        const int m = oldestFirst[i].year * 12 + oldestFirst[i].month - 1;
        if (m <= thisMonth && m > thisMonth - kKeepMonths && monthsSeen.insert(m).second) kept[i] = true;
    }
    return kept;
}

std::vector<std::string> WorkingFiles() {
    std::vector<std::string> files;
    for (const std::string& top : {std::string("language.ini"), std::string(Ui(UiKey::FilenameIni))})
        if (platform::FileExists(top)) files.push_back(top);
    std::vector<platform::DirEntry> entries;
    const std::string words = WithoutSeparator(Ui(UiKey::PathLanguage));
    platform::ListDirectory(words, entries);
    for (const platform::DirEntry& e : entries)
        if (!e.isDirectory && (EndsWith(e.name, ".gk") || EndsWith(e.name, ".revlog")))
            files.push_back(words + "\\" + e.name);
    const std::string lists = WithoutSeparator(Ui(UiKey::PathNameList));
    platform::ListDirectory(lists, entries);
    for (const platform::DirEntry& list : entries) {
        if (!list.isDirectory) continue;
        std::vector<platform::DirEntry> inside;
        platform::ListDirectory(lists + "\\" + list.name, inside);
        for (const platform::DirEntry& e : inside)
            if (!e.isDirectory && (EndsWith(e.name, ".ls") || EndsWith(e.name, ".score")))
                files.push_back(lists + "\\" + list.name + "\\" + e.name);
    }
    return files;
}

std::vector<std::string> WordFilesOf(std::initializer_list<const WordListDescriptor*> pairs) {
    std::vector<std::string> files;
    for (const WordListDescriptor* pair : pairs)
        if (pair)
            if (const std::optional<std::string> path = WordFilePath(*pair)) files.push_back(*path);
    return files;
}

std::vector<BackupInfo> ListBackups() {
    std::vector<BackupInfo> folders = Folders();
    std::reverse(folders.begin(), folders.end());
    for (BackupInfo& f : folders) {
        CollectFiles(FolderPath(f.name), "", f.files);
        std::sort(f.files.begin(), f.files.end());
    }
    return folders;
}

namespace {

BackupResult CopyChanged(const std::vector<std::string>& paths, std::time_t now) {
    BackupResult result;
    std::vector<BackupInfo> newestFirst = Folders();
    std::reverse(newestFirst.begin(), newestFirst.end());
    std::vector<std::string> changed;
    for (const std::string& path : paths) {
        const std::optional<platform::FileStamp> stamp = platform::StampOf(path);
        if (!stamp) continue;
        std::optional<Stamped> last;
        std::time_t taken = 0;
        for (const BackupInfo& f : newestFirst) {
            const std::optional<std::string> copy = CopyPath(f.name, path);
            if (const std::optional<platform::FileStamp> copied = copy ? platform::StampOf(*copy) : std::nullopt) {
                last = Stamped{*copy, *copied};
                taken = TimeOf(f.stamp);
                break;
            }
        }
        if (!last || !SameAsCopy({path, *stamp}, *last, taken)) changed.push_back(path);
    }
    if (!changed.empty()) {
        const std::optional<std::string> name = NewFolder(now);
        if (!name) {
            result.failedPath = kBackupRoot;
            result.error = -1;
            return result;
        }
        for (const std::string& path : changed) {
            const std::optional<std::string> copy = CopyPath(*name, path);
            result.error = copy ? CopyInOneStep(path, *copy) : -1;
            if (result.error != 0) {
                // Half a backup would pass for a whole one: the copies made so far go too.
                result.failedPath = path;
                RemoveTree(FolderPath(*name));
                return result;
            }
            ++result.copied;
        }
        result.name = *name;
    }
    return result;
}

}  // namespace

BackupResult BackUpFiles(const std::vector<std::string>& paths, std::time_t now) {
    const BackupResult result = CopyChanged(paths, now);
    if (result.error == 0) ApplyKeepingRule(now);
    return result;
}

BackupResult BackUpAndReport(const std::vector<std::string>& paths, MessageOwner owner) {
    const BackupResult result = BackUpFiles(paths);
    if (result.error != 0) {
        char text[400];
        std::snprintf(text, sizeof text,
                      UiTextOr("BackupFailed", "Could not back up %s (error code %d). Your files are as they were."),
                      result.failedPath.c_str(), result.error);
        ShowWarning(text, Ui(UiKey::Dictionary), owner);
    }
    return result;
}

bool BackUpCurrentList(MessageOwner owner) {
    const std::optional<std::string> path = CurrentListPath();
    return !path || BackUpAndReport({*path}, owner).error == 0;
}

std::vector<std::string> PlanRestore(const std::string& name) {
    std::vector<std::string> files, plan;
    CollectFiles(FolderPath(name), "", files);
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        const std::optional<std::string> copy = CopyPath(name, file);
        if (copy && !SameBytes(*copy, file)) plan.push_back(file);
    }
    return plan;
}

RestoreResult RestoreBackup(const std::string& name, const std::vector<std::string>& paths, std::time_t now) {
    RestoreResult result;
    // Windows replaces no file that is open.
    CloseStore();
    // The keeping rule waits until the end: it could drop the backup being restored.
    result.backup = CopyChanged(paths, now);
    if (result.backup.error == 0) {
        for (const std::string& path : paths) {
            const std::optional<std::string> copy = CopyPath(name, path);
            result.error = copy && platform::FileExists(*copy) ? CopyInOneStep(*copy, path) : -1;
            if (result.error != 0) {
                result.failedPath = path;
                break;
            }
            ++result.restored;
        }
        ApplyKeepingRule(now);
    }
    ReloadCatalogue();
    ReopenStore();
    return result;
}
