#include "platform/replace_file.h"

#include "platform/platform.h"

namespace platform {

int ReplaceFile(const std::string& target, const std::string& temporary, const std::function<bool(FILE*)>& write) {
    FILE* out = OpenFile(temporary, "wb");
    if (!out) return LastErrorCode() ? LastErrorCode() : -1;
    bool written = false;
    try {
        written = write(out);
    } catch (...) {
        written = false;
    }
    if (std::fclose(out) != 0) written = false;
    int error = written && MoveIntoPlace(temporary, target) == 0 ? 0 : LastErrorCode();
    if (!written || error != 0) {
        RemoveFile(temporary);
        if (error == 0) error = -1;
    }
    return error;
}

bool CopyFileBytes(const std::string& source, FILE* out) {
    FILE* in = OpenFile(source, "rb");
    if (!in) return false;
    char buffer[1 << 16];
    bool ok = true;
    for (std::size_t n; ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        ok = std::fwrite(buffer, 1, n, out) == n;
    ok = ok && !std::ferror(in);
    std::fclose(in);
    return ok;
}

}  // namespace platform
