#include "core/catalogue/sort_table.h"

#include <cstdio>

#include "platform/platform.h"

std::string SortTablePath(const char* languageName) {
    return platform::MakePath({"tables\\", languageName, ".stb"}).value_or("");
}

int HasSortTable(const char* languageName) {
    const std::string path = SortTablePath(languageName);
    FILE* file = path.empty() ? nullptr : platform::OpenFile(path, "rb");
    if (!file) return 0;
    std::fclose(file);
    return 1;
}
