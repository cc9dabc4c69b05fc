// The usage text, made from the table of commands in main.cpp.
#pragma once

#include <string>

namespace wordlist {

std::string Usage();

}  // namespace wordlist
