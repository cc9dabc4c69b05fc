// Commands on the catalogue and the current pair's word and list files, and the checker.
#pragma once

#include "tools/wordlist/options.h"

namespace wordlist {

int PairsCommand(const Options& options);
int CountCommand(const Options& options);
int DumpCommand(const Options& options);
int FindCommand(const Options& options);
int SortCommand(const Options& options);
int ListsCommand(const Options& options);
int LoadCommand(const Options& options);
int CheckCommand(const Options& options);

}  // namespace wordlist
