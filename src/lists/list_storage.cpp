#include "lists/list_storage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/message.h"
#include "platform/platform.h"
#include "shell/settings.h"
#include "shell/ui_strings.h"
#include "store/fixed_text.h"
#include "store/store.h"

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

std::string ListDirectory(const std::string& name) { return std::string(Ui(UiKey::PathNameList)) + name; }

void ReopenListFile() {
    CloseListFile();
    OpenListFile();
    CountListRecords();
}

// Copies a file to the temporary list file, then moves that into the target's place,
// so a failed copy leaves the target as it was. 0 or the platform's error code.
int CopyIntoPlace(const std::string& source, const std::string& target) {
    const std::string temporary = Ui(UiKey::FilenameTempList);
    FILE* in = platform::OpenFile(source, "rb");
    if (!in) return platform::LastErrorCode();
    FILE* out = platform::OpenFile(temporary, "wb");
    if (!out) {
        int error = platform::LastErrorCode();
        std::fclose(in);
        return error;
    }
    char buffer[1 << 16];
    bool ok = true;
    for (std::size_t n; ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        ok = std::fwrite(buffer, 1, n, out) == n;
    ok = ok && !std::ferror(in);
    std::fclose(in);
    if (std::fclose(out) != 0) ok = false;
    int error = ok && platform::MoveIntoPlace(temporary, target) == 0 ? 0 : platform::LastErrorCode();
    if (!ok || error != 0) {
        platform::RemoveFile(temporary);
        if (error == 0) error = -1;
    }
    return error;
}

}  // namespace

std::vector<std::string> EnumerateLists() {
    std::vector<platform::DirEntry> entries;
    std::vector<std::string> names;
    if (!platform::ListDirectory(Ui(UiKey::PathNameList), entries)) return names;
    for (const platform::DirEntry& e : entries)
        if (e.isDirectory && !e.name.empty() && e.name[0] != '.') names.push_back(e.name);
    std::stable_sort(names.begin(), names.end(), ListNameLess);
    return names;
}

int CountLists() { return static_cast<int>(EnumerateLists().size()); }

int SelectFirstList() {
    std::vector<std::string> lists = EnumerateLists();
    if (lists.empty()) return 0;
    Settings.PracticeList = lists.front().substr(0, kMaxListNameChars);
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

bool ListNameAllowed(const std::string& name) { return name.find_first_of("/\\<>|.\"*?:") == std::string::npos; }

void MakeListCurrent(const std::string& typed) {
    const std::string name = typed.substr(0, kMaxListNameChars);
    for (const std::string& list : EnumerateLists()) {
        if (EqualsIgnoringAsciiCase(list, name)) {
            Settings.PracticeList = list;
            Settings.ListID = ListIdOf(list);
            return;
        }
    }
    platform::CreateDir(ListDirectory(name));
    // A directory that could not be made is no list: the current one stays.
    const int id = ListIdOf(name);
    if (id == 0) return;
    Settings.PracticeList = name;
    Settings.ListID = id;
}

std::optional<std::string> CurrentListPath(bool createDirectory) {
    if (Settings.PracticeList.empty() || !CurrentPair) return std::nullopt;
    if (createDirectory) platform::CreateDir(ListDirectory(Settings.PracticeList));
    return ListFilePath(*CurrentPair, Settings.PracticeList);
}

int FillListFromWordFile() {
    const std::optional<std::string> target = CurrentListPath(true);
    const std::optional<std::string> source = WordFilePath(*CurrentPair);
    CloseStore();
    int error = target && source ? CopyIntoPlace(*source, *target) : -1;
    if (error != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "Could not copy word list file, error code %d   ", error);
        ShowWarning(text, Ui(UiKey::Dictionary), MessageOwner::MainWindow);
    }
    OpenStore();
    CountRecords();
    return error;
}

void ClearCurrentList() {
    const std::optional<std::string> path = CurrentListPath(true);
    CloseListFile();
    if (path) platform::RemoveFile(*path);
    OpenListFile();
    CountListRecords();
}

int CompactCurrentList() {
    const std::optional<std::string> path = CurrentListPath(true);
    const std::string temporary = Ui(UiKey::FilenameTempList);
    if (!path) return -1;
    FILE* out = platform::OpenFile(temporary, "wb");
    if (!out) return -1;
    bool ok = true;
    for (std::int32_t i = 0; ok && i < ListCount; ++i) {
        ok = ReadListEntry(i) == 0;
        if (ok && CurrentRecord.deleted == 0) ok = std::fwrite(&CurrentRecord, sizeof CurrentRecord, 1, out) == 1;
    }
    CloseListFile();
    if (std::fclose(out) != 0) ok = false;
    int result = ok && platform::MoveIntoPlace(temporary, *path) == 0 ? 0 : -1;
    if (result != 0) platform::RemoveFile(temporary);
    OpenListFile();
    CountListRecords();
    return result;
}

int DeleteCurrentList() {
    if (Settings.PracticeList.empty()) return 0;
    CloseListFile();
    const std::string directory = ListDirectory(Settings.PracticeList);
    std::vector<platform::DirEntry> entries;
    platform::ListDirectory(directory, entries);
    for (const platform::DirEntry& e : entries)
        if (!e.isDirectory) platform::RemoveFile(directory + "\\" + e.name);
    int result = 0;
    if (platform::RemoveDir(directory) != 0) {
        ShowUserMessage({std::string(Ui(UiKey::CreateListNoDel)) + " " + Settings.PracticeList,
                         Ui(UiKey::CreateListDelList), MessageOwner::ActiveWindow, MessageIcon::None});
        result = -1;
    }
    Settings.PracticeList.clear();
    if (SelectFirstList() == 0) Settings.ListID = kFirstListId;
    ReopenListFile();
    return result;
}
