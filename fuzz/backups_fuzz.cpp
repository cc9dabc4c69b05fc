// Backups over a backups\ folder of fuzzed names and notes: listing, restore plans, and a
// new backup with its keeping rule. Whatever lies there, only names the program makes are
// listed, a restore plans only files the backup holds, the new backup is the newest, and
// no file that had a copy is left without one.
// Input: one line per folder under backups\, "name" or "name<TAB>note" (a '|' in the note
// is a line break), each holding its name as its copy of language.ini; every other folder
// also holds a copy of a word file.
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <set>

#include "core/backup/backup.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

// The relative paths that have a copy in some backup folder; links are not followed.
std::set<std::string> CopiedPaths() {
    std::set<std::string> paths;
    std::error_code error;
    for (fs::recursive_directory_iterator it("backups", error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file() || it->is_symlink()) continue;
        const fs::path relative = fs::relative(it->path(), "backups");
        const fs::path inside = fs::relative(relative, *relative.begin());
        if (inside != "backup.txt" && inside.extension() != ".tmp") paths.insert(inside.generic_string());
    }
    return paths;
}

bool Usable(std::string_view name) {
    return !name.empty() && name.size() < 64 && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0:", 4)) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    std::error_code ignored;
    fs::remove_all("backups", ignored);
    fs::create_directories("backups");
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string detail = Shown(input);
    std::size_t at = 0;
    for (int folder = 0; at < input.size() && folder < 40; ++folder) {
        std::size_t end = input.find('\n', at);
        if (end == std::string_view::npos) end = input.size();
        const std::string_view line = input.substr(at, end - at);
        at = end + 1;
        const std::size_t tab = line.find('\t');
        const std::string name(line.substr(0, tab));
        if (!Usable(name) || fs::exists("backups/" + name)) continue;
        PutFile("backups\\" + name + "\\language.ini", name);
        if (folder % 2) PutFile("backups\\" + name + "\\wordlists\\eng_dut.gk", "copy in " + name);
        if (tab != std::string_view::npos) {
            std::string note(line.substr(tab + 1));
            std::replace(note.begin(), note.end(), '|', '\n');
            PutFile("backups\\" + name + "\\backup.txt", note);
        }
    }
    PutFile("language.ini", "[Dictionary]\r\nLanguage=english\r\n");
    PutFile("wordlists\\eng_dut.gk", "current");

    for (const BackupInfo& backup : ListBackups()) {
        const std::optional<BackupStamp> stamp = ParseBackupName(backup.name);
        FUZZ_CHECK(stamp && BackupName(*stamp) == backup.name, backup.name + "\n" + detail);
        for (const std::string& file : PlanRestore(backup.name))
            FUZZ_CHECK(std::find(backup.files.begin(), backup.files.end(), file) != backup.files.end(),
                       backup.name + " plans " + file + "\n" + detail);
    }

    const std::set<std::string> before = CopiedPaths();
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mday = 1;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    const BackupResult result = BackUpFiles({"language.ini", "wordlists\\eng_dut.gk"}, std::mktime(&t));
    if (result.error == 0) {
        const std::vector<BackupInfo> after = ListBackups();
        FUZZ_CHECK(!after.empty() && after.front().name == result.name, "the new backup is not the newest\n" + detail);
        const std::set<std::string> copied = CopiedPaths();
        for (const std::string& path : before)
            FUZZ_CHECK(copied.count(path) == 1, path + " lost its last copy\n" + detail);
    }
    return 0;
}
