#include "lists/list_storage.h"

#include <algorithm>

#include "platform/platform.h"
#include "shell/settings.h"
#include "shell/ui_strings.h"
#include "store/fixed_text.h"

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

bool PracticeListExists(const std::string& name) {
    for (const std::string& list : EnumerateLists())
        if (EqualsIgnoringAsciiCase(list, name)) return true;
    return false;
}
