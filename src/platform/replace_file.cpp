#include "platform/replace_file.h"

#include <limits>

#include "platform/file_writes.h"
#include "platform/platform.h"

namespace platform {

namespace {

// A failure whose cause the system did not record still counts as one.
int FailureCode() {
    const int code = LastErrorCode();
    return code != 0 ? code : -1;
}

// The temporary file written with `write` and on the disk; on failure it is gone.
int WriteTemporary(const std::string& temporary, const std::function<bool(FILE*)>& write) {
    FILE* out = OpenFile(temporary, "wb");
    if (!out) return FailureCode();
    bool written = false;
    try {
        written = write(out);
    } catch (...) {
        written = false;
    }
    written = written && SyncFile(out);
    written = CloseFile(out) && written;
    if (written) return 0;
    const int error = FailureCode();
    RemoveFile(temporary);
    return error;
}

std::function<bool(FILE*)> Writing(std::string_view bytes) {
    return [bytes](FILE* out) { return bytes.empty() || WriteBytes(out, bytes.data(), bytes.size()); };
}

}  // namespace

int ReplaceFile(const std::string& target, const std::string& temporary, const std::function<bool(FILE*)>& write) {
    if (const int error = WriteTemporary(temporary, write)) return error;
    if (MoveIntoPlace(temporary, target) == 0) return 0;
    const int error = FailureCode();
    RemoveFile(temporary);
    return error;
}

int ReplaceFileWith(const std::string& target, std::string_view bytes) {
    return ReplaceFile(target, target + ".tmp", Writing(bytes));
}

int WriteTemporaryFile(const std::string& temporary, std::string_view bytes) {
    return WriteTemporary(temporary, Writing(bytes));
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::int64_t limit) {
    FILE* in = OpenFile(path, "rb");
    if (!in) return false;
    const std::int64_t size = FileSize(in);
    bool read =
        size >= 0 && size <= limit && static_cast<std::uint64_t>(size) <= std::numeric_limits<std::size_t>::max();
    if (read) {
        bytes.resize(static_cast<std::size_t>(size));
        read = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    }
    std::fclose(in);
    return read;
}

bool CopyFileBytes(const std::string& source, FILE* out) {
    FILE* in = OpenFile(source, "rb");
    if (!in) return false;
    char buffer[1 << 16];
    bool ok = true;
    for (std::size_t n; ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) ok = WriteBytes(out, buffer, n);
    ok = ok && !std::ferror(in);
    std::fclose(in);
    return ok;
}

}  // namespace platform
