#include "core/lists/list_storage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "core/text/file_names.h"
#include "core/text/fixed_text.h"
#include "platform/file_writes.h"
#include "platform/message.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace {

bool ListNameLess(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(FoldAscii(a[i]));
        unsigned char cb = static_cast<unsigned char>(FoldAscii(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

// The folder of a practice list, beside the others under the lists folder.
std::string PracticeListFolder(const std::string& name) { return std::string(Ui(UiKey::PathNameList)) + name; }

}  // namespace

std::vector<std::string> EnumerateLists() {
    std::vector<platform::DirEntry> entries;
    std::vector<std::string> names;
    if (!platform::ListDirectory(Ui(UiKey::PathNameList), entries)) return names;
    // A directory another program made may hold a name the dialog would refuse (a cut
    // one would be another list, one with a separator would lead out of the root): such
    // a directory is no list, and no command of the list window ever touches it.
    for (const platform::DirEntry& e : entries)
        if (e.isDirectory && ListNameAllowed(e.name)) names.push_back(e.name);
    std::stable_sort(names.begin(), names.end(), ListNameLess);
    return names;
}

int CountLists() { return static_cast<int>(EnumerateLists().size()); }

int SelectFirstList() {
    std::vector<std::string> lists = EnumerateLists();
    if (lists.empty()) return 0;
    Settings.PracticeList = lists.front();
    Settings.ListID = kFirstListId;
    return kFirstListId;
}

bool PracticeListExists(const std::string& name) { return ListIdOf(name) != 0; }

int ListIdOf(const std::string& name) {
    int id = kFirstListId;
    for (const std::string& list : EnumerateLists()) {
        if (EqualsIgnoringAsciiCase(list, name)) return id;
        ++id;
    }
    return 0;
}

bool ListNameAllowed(const std::string& name) {
    return name.size() <= kMaxListNameChars && name.find('.') == std::string::npos && CanNameWindowsFile(name);
}

std::string TrimmedListName(const std::string& typed) {
    std::size_t end = typed.find_last_not_of(" .");
    return end == std::string::npos ? std::string() : typed.substr(0, end + 1);
}

bool MakeListCurrent(const std::string& name) {
    if (name.empty() || name.size() > kMaxListNameChars) return false;
    for (const std::string& list : EnumerateLists()) {
        if (EqualsIgnoringAsciiCase(list, name)) {
            Settings.PracticeList = list;
            Settings.ListID = ListIdOf(list);
            return true;
        }
    }
    platform::CreateDir(PracticeListFolder(name));
    // A directory that could not be made is no list: the current one stays.
    const int id = ListIdOf(name);
    if (id == 0) return false;
    Settings.PracticeList = name;
    Settings.ListID = id;
    return true;
}

std::optional<std::string> ListFilePath(const WordListDescriptor& pair, const std::string& listName) {
    return platform::MakePath({Ui(UiKey::PathNameList), listName, "\\", ListFileName(pair)});
}

std::optional<std::string> CurrentListPath(bool createDirectory) {
    if (Settings.PracticeList.empty() || !CurrentPair) return std::nullopt;
    if (createDirectory) platform::CreateDir(PracticeListFolder(Settings.PracticeList));
    return ListFilePath(*CurrentPair, Settings.PracticeList);
}

int OpenListFile() {
    CloseListFile();
    if (Settings.PracticeList.empty() && CountLists() > 0) SelectFirstList();
    const std::optional<std::string> path = CurrentListPath();
    return path ? OpenListFileAt(*path) : -1;
}

void ReopenListFile() {
    CloseListFile();
    OpenListFile();
    CountListRecords();
}

int FillListFromWordFile() {
    const std::optional<std::string> target = CurrentListPath(true);
    const std::optional<std::string> source = CurrentPair ? WordFilePath(*CurrentPair) : std::nullopt;
    CloseListFile();
    const int error = target && source
                          ? platform::ReplaceFile(*target, Ui(UiKey::FilenameTempList),
                                                  [&](FILE* out) { return platform::CopyFileBytes(*source, out); })
                          : -1;
    if (error != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "Could not copy word list file, error code %d   ", error);
        ShowWarning(text, Ui(UiKey::Dictionary), MessageOwner::MainWindow);
    }
    ReopenListFile();
    return error;
}

void ClearCurrentList() {
    const std::optional<std::string> path = CurrentListPath(true);
    CloseListFile();
    if (path) platform::RemoveFile(*path);
    ReopenListFile();
}

int CompactCurrentList() {
    const std::optional<std::string> path = CurrentListPath(true);
    if (!path) return -1;
    const int result = platform::ReplaceFile(*path, Ui(UiKey::FilenameTempList), [](FILE* out) {
        bool ok = true;
        for (std::int32_t i = 0; ok && i < ListCount; ++i) {
            ok = ReadListEntry(i) == 0;
            if (ok && !IsDeleted(CurrentRecord)) ok = platform::WriteBytes(out, &CurrentRecord, sizeof CurrentRecord);
        }
        // The list file is closed before the new one takes its place, which Windows requires.
        CloseListFile();
        return ok;
    });
    ReopenListFile();
    return result == 0 ? 0 : -1;
}

int DeleteCurrentList() {
    if (Settings.PracticeList.empty()) return 0;
    CloseListFile();
    const std::string directory = PracticeListFolder(Settings.PracticeList);
    std::vector<platform::DirEntry> entries;
    platform::ListDirectory(directory, entries);
    for (const platform::DirEntry& e : entries)
        if (!e.isDirectory) platform::RemoveFile(directory + "\\" + e.name);
    const int result = platform::RemoveDir(directory) == 0 ? 0 : -1;
    Settings.PracticeList.clear();
    if (SelectFirstList() == 0) Settings.ListID = kFirstListId;
    ReopenListFile();
    return result;
}
