// Sort tables: "tables\" + language + ".stb", 256 byte weights for a language's order.
#pragma once

#include <string>

// The table file of a language; empty when the path would be too long.
std::string SortTablePath(const char* languageName);
// 1 when the language's table file can be opened for reading, else 0.
int HasSortTable(const char* languageName);
