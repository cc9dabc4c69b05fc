// Packing and unpacking the program's strings files; needs no working directory.
#pragma once

#include <string>
#include <vector>

namespace wordlist {

// args as given: "strings", then pack or unpack, IN and OUT.
int StringsCommand(const std::vector<std::string>& args);

}  // namespace wordlist
