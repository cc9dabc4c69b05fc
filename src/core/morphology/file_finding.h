// What is wrong with a morphology file, by file and line, as `wordlist check` names it.
#pragma once

#include <cstddef>
#include <string>

struct MorphologyFinding {
    std::string file;
    std::size_t line = 0;  // 1-based; 0 for the file as a whole
    std::string what;
};
