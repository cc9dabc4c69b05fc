// Words from and to other programs' files.
#pragma once

#include "tools/wordlist/options.h"

namespace wordlist {

int ImportCommand(const Options& options);
int ExportCommand(const Options& options);

}  // namespace wordlist
