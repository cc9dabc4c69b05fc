#include "core/backup/backup.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
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
// Each backup's own note, beside its copies: not a file of the user's.
constexpr char kNoteName[] = "backup.txt";

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

// The copies below a backup folder `dir`, by path relative to it. Half-made copies (".tmp")
// and the backup's note are not copies, and a link is never followed: what it names is
// not the backup's, and may be the user's own files elsewhere.
void CollectFiles(const std::string& dir, const std::string& relative, std::vector<std::string>& files) {
    std::vector<platform::DirEntry> entries;
    if (!platform::ListDirectory(dir, entries)) return;
    for (const platform::DirEntry& e : entries) {
        const std::string path = relative.empty() ? e.name : relative + "\\" + e.name;
        if (e.isLink || (relative.empty() && EqualsIgnoringAsciiCase(e.name, kNoteName)))
            continue;
        else if (e.isDirectory)
            CollectFiles(dir + "\\" + e.name, path, files);
        else if (!EndsWith(e.name, ".tmp"))
            files.push_back(path);
    }
}

// A link inside goes as a link: the files it leads to stay.
void RemoveTree(const std::string& dir) {
    std::vector<platform::DirEntry> entries;
    platform::ListDirectory(dir, entries);
    for (const platform::DirEntry& e : entries) {
        const std::string path = dir + "\\" + e.name;
        if (e.isLink) {
            if (platform::RemoveFile(path) != 0) platform::RemoveDir(path);
        } else if (e.isDirectory) {
            RemoveTree(path);
        } else {
            platform::RemoveFile(path);
        }
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

// What a backup's note says: when it was made among the others (a count, since the clock
// in its name can be put back), when its copies were taken, and when each copy handed on
// to it from a dropped backup had been taken. A folder without a note comes from before
// notes were kept: older than every backup with one, taken when its name says.
struct Note {
    std::int64_t made = 0;
    std::int64_t taken = 0;  // seconds since 1970 UTC; 0 when unknown
    std::map<std::string, std::int64_t> handedOn;
    std::string why;  // what the backup was made for (see BackupInfo)
};

struct Folder {
    std::string name;
    BackupStamp stamp;
    Note note;
};

std::optional<std::string> NotePath(const std::string& name) {
    return platform::MakePath({kBackupRoot, "\\", name, "\\", kNoteName});
}

bool TakeNumber(std::string_view& text, std::int64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

// "made N", "taken T", "copy T PATH" and "why REASON" lines. A damaged line is passed over:
// it costs at most a read of the file it speaks for, the backup's place among those without
// a note, or the reason it was made.
Note ParseNote(std::string_view text) {
    Note note;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, space);
        line.remove_prefix(space + 1);
        if (key == "why") {
            note.why = line;
            continue;
        }
        std::int64_t value = 0;
        if (!TakeNumber(line, value)) continue;
        if (key == "made" && line.empty())
            note.made = value;
        else if (key == "taken" && line.empty())
            note.taken = value;
        else if (key == "copy" && line.size() > 1 && line[0] == ' ')
            note.handedOn[std::string(line.substr(1))] = value;
    }
    return note;
}

std::string NoteText(const Note& note) {
    std::string text = "made " + std::to_string(note.made) + "\r\ntaken " + std::to_string(note.taken) + "\r\n";
    for (const auto& [path, taken] : note.handedOn) text += "copy " + std::to_string(taken) + " " + path + "\r\n";
    if (!note.why.empty()) text += "why " + note.why + "\r\n";
    return text;
}

// When a backup was taken: as its note says, or its name for one from before notes were kept.
std::int64_t TakenOf(const Folder& folder) {
    return folder.note.taken > 0 ? folder.note.taken : static_cast<std::int64_t>(TimeOf(folder.stamp));
}

// When the copy of `relative` in `folder` was taken: its own time when it was handed on.
std::int64_t TakenOf(const Folder& folder, const std::string& relative) {
    const auto handedOn = folder.note.handedOn.find(relative);
    return handedOn != folder.note.handedOn.end() ? handedOn->second : TakenOf(folder);
}

// A file, or its newest backup copy, with its stamp.
struct Stamped {
    std::string path;
    platform::FileStamp stamp;
};

// Whether a file holds what its copy taken at `taken` holds. When the copy still has the
// file's size and write time, and the file had been written well before the copy was taken
// (FAT keeps write times in steps of two seconds), no later write can have left that time
// behind, and the stamps are taken at their word: opening and reading both, for every file
// at every start and exit, is what the check costs otherwise.
bool SameAsCopy(const Stamped& file, const Stamped& copy, std::int64_t taken) {
    constexpr std::int64_t kWriteTimeStep = 2;
    const bool stampsAgree = file.stamp == copy.stamp && file.stamp.written / 1000000000 + kWriteTimeStep < taken;
    return stampsAgree || SameBytes(file.path, copy.path);
}

std::optional<std::string> CopyPath(const std::string& name, const std::string& relative) {
    return platform::MakePath({kBackupRoot, "\\", name, "\\", relative});
}

// In the order the backups were made: those without a note first, by their names (sequence
// numbers compare as numbers: "-10" comes after "-9"), then by the count their notes give.
bool Older(const Folder& a, const Folder& b) {
    const BackupStamp &x = a.stamp, &y = b.stamp;
    return std::tie(a.note.made, x.year, x.month, x.day, x.hour, x.minute, x.second, x.sequence) <
           std::tie(b.note.made, y.year, y.month, y.day, y.hour, y.minute, y.second, y.sequence);
}

// The backup folders, oldest first. Other names under backups\ are not ours and stay, and
// a link is not a backup, wherever it leads.
std::vector<Folder> Folders() {
    std::vector<platform::DirEntry> entries;
    std::vector<Folder> folders;
    platform::ListDirectory(kBackupRoot, entries);
    for (const platform::DirEntry& e : entries) {
        if (!e.isDirectory || e.isLink) continue;
        const std::optional<BackupStamp> stamp = ParseBackupName(e.name);
        if (!stamp) continue;
        Folder folder{e.name, *stamp, {}};
        std::string note;
        if (const std::optional<std::string> path = NotePath(e.name); path && platform::ReadFileBytes(*path, note))
            folder.note = ParseNote(note);
        folders.push_back(std::move(folder));
    }
    std::sort(folders.begin(), folders.end(), Older);
    return folders;
}

// A dropped backup hands the copies the next newer one lacks on to it: they are that one's
// files too, and may be the only copies left. Their own times go into the next one's note
// first (and into `next`, which may be dropped in turn). The backup goes only when every
// copy it had to hand on is there: 0, or the error code of the step that failed, and the
// backup stays with what it still holds.
int DropBackup(const Folder& dropped, Folder& next) {
    std::vector<std::string> files;
    CollectFiles(FolderPath(dropped.name), "", files);
    std::vector<std::pair<std::string, std::string>> moves;
    for (const std::string& file : files) {
        const std::optional<std::string> from = CopyPath(dropped.name, file), to = CopyPath(next.name, file);
        if (!from || !to) return -1;
        if (platform::FileExists(*to)) continue;
        moves.emplace_back(*from, *to);
        next.note.handedOn[file] = TakenOf(dropped, file);
    }
    if (!moves.empty()) {
        next.note.taken = TakenOf(next);
        const std::optional<std::string> note = NotePath(next.name);
        if (!note) return -1;
        if (const int error = platform::ReplaceFileWith(*note, NoteText(next.note)); error != 0) return error;
    }
    int error = 0;
    for (const auto& [from, to] : moves) {
        CreateDirsFor(to);
        if (platform::MoveIntoPlace(from, to) != 0 && error == 0)
            error = platform::LastErrorCode() != 0 ? platform::LastErrorCode() : -1;
    }
    if (error != 0) return error;
    RemoveTree(FolderPath(dropped.name));
    return 0;
}

// Drops what the keeping rule lets go, except `made`, the backup this run made. The first
// backup that could not be dropped is told in `result`.
void ApplyKeepingRule(std::time_t now, const std::string& made, BackupResult& result) {
    std::vector<Folder> folders = Folders();
    std::vector<BackupStamp> stamps;
    for (const Folder& f : folders) stamps.push_back(f.stamp);
    const std::tm local = *std::localtime(&now);
    const std::vector<bool> kept = KeptBackups(stamps, local.tm_year + 1900, local.tm_mon + 1);
    for (std::size_t i = 0; i + 1 < folders.size(); ++i) {
        if (kept[i] || folders[i].name == made) continue;
        const int error = DropBackup(folders[i], folders[i + 1]);
        if (error != 0 && result.keptName.empty()) {
            result.keptName = folders[i].name;
            result.keptError = error;
        }
    }
}

// A name no backup has yet (the local time, and a sequence number after the first of a
// second), its folder, and its note, which makes it the newest backup whatever its name.
std::optional<std::string> NewFolder(std::time_t now, const std::vector<Folder>& folders, const std::string& why) {
    const std::tm local = *std::localtime(&now);
    BackupStamp stamp{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    Note note;
    note.made = folders.empty() ? 1 : std::max<std::int64_t>(folders.back().note.made, 0) + 1;
    note.taken = static_cast<std::int64_t>(now);
    // One line: a reason naming a file must not make lines of its own.
    note.why = why.substr(0, why.find_first_of("\r\n"));
    platform::CreateDir(kBackupRoot);
    std::vector<platform::DirEntry> entries;
    platform::ListDirectory(kBackupRoot, entries);
    for (; stamp.sequence <= kMaxSequence; ++stamp.sequence) {
        const std::string name = BackupName(stamp);
        const bool taken = std::any_of(entries.begin(), entries.end(), [&](const platform::DirEntry& e) {
            return platform::SameFileName(e.name, name);
        });
        if (taken) continue;
        if (platform::CreateDir(FolderPath(name)) != 0) return std::nullopt;
        const std::optional<std::string> notePath = NotePath(name);
        if (notePath && platform::ReplaceFileWith(*notePath, NoteText(note)) == 0) return name;
        RemoveTree(FolderPath(name));
        return std::nullopt;
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
    }
    if (s.month < 1 || s.month > 12 || s.day < 1 || s.day > 31 || s.hour > 23 || s.minute > 59 || s.second > 60)
        return std::nullopt;
    // Only the names the program makes: "-05" is not the fifth of a second, and the first
    // of a second has no "-1".
    if (BackupName(s) != name) return std::nullopt;
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
        if (!e.isDirectory &&
            (EndsWith(e.name, ".gk") || EndsWith(e.name, ".revlog") || EndsWith(e.name, ".revparams")))
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

BackupFileMeaning MeaningOfBackupFile(const std::string& path) {
    using Kind = BackupFileMeaning::Kind;
    BackupFileMeaning meaning;
    if (platform::SameFileName(path, "language.ini")) meaning.kind = Kind::InterfaceLanguage;
    if (platform::SameFileName(path, Ui(UiKey::FilenameIni))) meaning.kind = Kind::Catalogue;
    if (meaning.kind != Kind::Other) return meaning;
    const std::size_t slash = path.find_last_of('\\');
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return meaning;
    const std::string stem = name.substr(0, dot), extension = name.substr(dot);
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    const std::size_t above = folder.find_last_of('\\');
    static const std::pair<const char*, Kind> kKinds[] = {{".gk", Kind::WordList},
                                                          {".revlog", Kind::ReviewLog},
                                                          {".revparams", Kind::ReviewLog},
                                                          {".ls", Kind::PracticeList},
                                                          {".score", Kind::BestScore}};
    for (const auto& [ending, kind] : kKinds)
        if (EqualsIgnoringAsciiCase(extension, ending)) meaning.kind = kind;
    for (const WordListDescriptor* d = CatalogueHead; d && meaning.kind != Kind::Other && !meaning.pair; d = d->next) {
        const std::string word = WordFileName(*d);
        if (platform::SameFileName(stem + ".gk", word)) meaning.pair = d;
    }
    if (!meaning.pair) meaning.kind = Kind::Other;  // a file of no pair the catalogue knows
    if (meaning.kind == Kind::PracticeList || meaning.kind == Kind::BestScore)
        meaning.list = folder.substr(above == std::string::npos ? 0 : above + 1);
    return meaning;
}

std::vector<std::string> WordFilesOf(std::initializer_list<const WordListDescriptor*> pairs) {
    std::vector<std::string> files;
    for (const WordListDescriptor* pair : pairs)
        if (pair)
            if (const std::optional<std::string> path = WordFilePath(*pair)) files.push_back(*path);
    return files;
}

std::vector<BackupInfo> ListBackups() {
    const std::vector<Folder> folders = Folders();
    std::vector<BackupInfo> newestFirst;
    for (auto f = folders.rbegin(); f != folders.rend(); ++f) {
        BackupInfo& info = newestFirst.emplace_back(BackupInfo{f->name, f->stamp, {}, f->note.why});
        CollectFiles(FolderPath(f->name), "", info.files);
        std::sort(info.files.begin(), info.files.end());
    }
    return newestFirst;
}

namespace {

BackupResult CopyChanged(const std::vector<std::string>& paths, std::time_t now, const std::string& why) {
    BackupResult result;
    const std::vector<Folder> folders = Folders();
    std::vector<std::string> changed;
    for (const std::string& path : paths) {
        const std::optional<platform::FileStamp> stamp = platform::StampOf(path);
        if (!stamp) continue;
        std::optional<Stamped> last;
        std::int64_t taken = 0;
        for (auto f = folders.rbegin(); f != folders.rend(); ++f) {
            const std::optional<std::string> copy = CopyPath(f->name, path);
            if (const std::optional<platform::FileStamp> copied = copy ? platform::StampOf(*copy) : std::nullopt) {
                last = Stamped{*copy, *copied};
                taken = TakenOf(*f, path);
                break;
            }
        }
        if (!last || !SameAsCopy({path, *stamp}, *last, taken)) changed.push_back(path);
    }
    if (!changed.empty()) {
        const std::optional<std::string> name = NewFolder(now, folders, why);
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

BackupResult BackUpFiles(const std::vector<std::string>& paths, std::time_t now, const std::string& why) {
    BackupResult result = CopyChanged(paths, now, why);
    if (result.error == 0) ApplyKeepingRule(now, result.name, result);
    return result;
}

void ReportKeptBackup(const BackupResult& result, MessageOwner owner) {
    // A backup that cannot be dropped now cannot be dropped at the next backup either: one
    // message a run is enough.
    static bool told = false;
    if (result.keptName.empty() || told) return;
    told = true;
    char text[600];
    std::snprintf(text, sizeof text,
                  UiTextOr("BackupNotDropped",
                           "Backup %s could not hand its copies on to the next one (error code %d), so it is kept "
                           "beside the newer backups. No copy was lost."),
                  result.keptName.c_str(), result.keptError);
    ShowWarning(text, Ui(UiKey::Dictionary), owner);
}

BackupResult BackUpAndReport(const std::vector<std::string>& paths, MessageOwner owner, const std::string& why) {
    const BackupResult result = BackUpFiles(paths, std::time(nullptr), why);
    if (result.error != 0) {
        char text[400];
        std::snprintf(text, sizeof text,
                      UiTextOr("BackupFailed", "Could not back up %s (error code %d). Your files are as they were."),
                      result.failedPath.c_str(), result.error);
        ShowWarning(text, Ui(UiKey::Dictionary), owner);
    }
    ReportKeptBackup(result, owner);
    return result;
}

bool BackUpCurrentList(MessageOwner owner) {
    const std::optional<std::string> path = CurrentListPath();
    return !path || BackUpAndReport({*path}, owner, "list").error == 0;
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
    result.backup = CopyChanged(paths, now, "restore");
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
        ApplyKeepingRule(now, result.backup.name, result.backup);
    }
    ReloadCatalogue();
    ReopenStore();
    return result;
}
