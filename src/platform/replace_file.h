// Rewriting a file without ever leaving it half written: the new content goes to a
// temporary file, which then takes the file's place in one step.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Writes the temporary file with `write` (false on a failed write), then moves it onto
// `target`. 0, or the platform's error code (-1 when it has none); on failure the
// temporary file is gone and `target` is as it was.
int ReplaceFile(const std::string& target, const std::string& temporary, const std::function<bool(FILE*)>& write);

// ReplaceFile with `bytes` as the new content, the temporary file beside the target.
int ReplaceFileWith(const std::string& target, std::string_view bytes);

// ReplaceFile's first step alone, for files that take their places together once all are
// written: `bytes` into `temporary`, on the disk. 0, or the error code; on failure the
// temporary file is gone. MoveIntoPlace is the step that follows.
int WriteTemporaryFile(const std::string& temporary, std::string_view bytes);

// Copies every byte of `source` to `out`; false on a read or write error.
bool CopyFileBytes(const std::string& source, FILE* out);

}  // namespace platform
