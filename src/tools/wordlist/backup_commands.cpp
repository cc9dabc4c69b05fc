#include "tools/wordlist/backup_commands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/backup/backup.h"
#include "core/store/store.h"

namespace wordlist {

// The new backup's name and how many files it holds; nothing when nothing had changed.
int BackupCommand(const Options&) {
    const BackupResult result = BackUpAndReport(WorkingFiles(), MessageOwner::None, "command");
    if (!result.name.empty()) std::printf("%s\t%zu\n", result.name.c_str(), result.copied);
    return result.error == 0 ? 0 : 1;
}

// One line per backup, newest first: its name, then the files it holds.
int BackupsCommand(const Options&) {
    for (const BackupInfo& backup : ListBackups()) {
        std::printf("%s", backup.name.c_str());
        for (const std::string& file : backup.files) std::printf("\t%s", file.c_str());
        std::printf("\n");
    }
    return 0;
}

int RestoreCommand(const Options& options) {
    const std::vector<BackupInfo> backups = ListBackups();
    const auto backup =
        std::find_if(backups.begin(), backups.end(), [&](const BackupInfo& b) { return b.name == options.operand; });
    if (backup == backups.end()) return Fail("there is no backup " + options.operand);
    for (const std::string& file : options.files)
        if (std::find(backup->files.begin(), backup->files.end(), file) == backup->files.end())
            return Fail(options.operand + " holds no " + file + "; nothing was changed");
    const std::vector<std::string> files = options.files.empty() ? PlanRestore(options.operand) : options.files;
    SetStoreAccess(StoreAccess::ReadOnly);
    const RestoreResult result = RestoreBackup(options.operand, files);
    ReportKeptBackup(result.backup, MessageOwner::None);
    if (result.backup.error != 0) return Fail("cannot back up " + result.backup.failedPath + "; nothing was changed");
    if (!result.backup.name.empty()) std::printf("the current files are in backup %s\n", result.backup.name.c_str());
    for (std::size_t i = 0; i < result.restored; ++i) std::printf("restored\t%s\n", files[i].c_str());
    CloseStore();
    if (result.error != 0)
        return Fail("cannot restore " + result.failedPath + " (error code " + std::to_string(result.error) + ")");
    return 0;
}

}  // namespace wordlist
