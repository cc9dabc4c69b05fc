// lookup: how each word of a text, or each word given, is found in the pair's word file.
#pragma once

#include "tools/wordlist/options.h"

namespace wordlist {

int LookupCommand(const Options& options);

}  // namespace wordlist
