// Rewriting a file without ever leaving it half written: the new content goes to a
// temporary file, which then takes the file's place in one step.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace platform {

// Writes the temporary file with `write` (false on a failed write), then moves it onto
// `target`. 0, or the platform's error code (-1 when it has none); on failure the
// temporary file is gone and `target` is as it was.
int ReplaceFile(const std::string& target, const std::string& temporary, const std::function<bool(FILE*)>& write);

// Copies every byte of `source` to `out`; false on a read or write error.
bool CopyFileBytes(const std::string& source, FILE* out);

}  // namespace platform
