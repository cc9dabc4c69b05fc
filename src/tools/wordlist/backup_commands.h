// The working directory's backups: making one, listing them, putting one back.
#pragma once

#include "tools/wordlist/options.h"

namespace wordlist {

int BackupCommand(const Options& options);
int BackupsCommand(const Options& options);
int RestoreCommand(const Options& options);

}  // namespace wordlist
