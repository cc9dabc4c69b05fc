// What one run of wordlist was asked for, as the command line gave it, and how it refuses.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/exchange/format_table.h"

namespace wordlist {

struct Options {
    int pair = -1;
    std::string commandLine;  // as the program's own "/gk NAME"
    bool stats = false;
    bool asIs = false;
    bool repair = false;
    bool dryRun = false;
    bool wholeReport = false;  // import: every problem line on stdout, not only the first ones
    std::optional<ExchangeFormat> format;
    std::string languages;
    char separator = 0;
    std::int32_t appended = -1;  // sort: the file's last records were appended to a sorted body
    std::string command;
    std::string operand;
    std::vector<std::string> files;  // restore: the files to put back, all when none
    std::string operand2;            // review: the rating; review-log: the file
    std::optional<std::int64_t> at;  // review commands: the time instead of now
    bool all = false;
    bool apply = false;              // review-optimize: store the fitted weights when they predict better
    std::string textFile;            // lookup: the words of this text
    std::vector<std::string> words;  // lookup: the words given
};

// Every refusal reads the same and exits 1.
inline int Fail(const std::string& message) {
    std::fprintf(stderr, "wordlist: %s\n", message.c_str());
    return 1;
}

}  // namespace wordlist
