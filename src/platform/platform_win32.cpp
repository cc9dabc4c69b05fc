#include <windows.h>

#include <mmsystem.h>
#include <psapi.h>

#include <fcntl.h>
#include <io.h>
#include <climits>
#include <string>

#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/text_convert.h"

namespace platform {

FILE* OpenFile(const std::string& path, const char* mode) {
    if (path.size() > kMaxPath) return nullptr;
    return std::fopen(path.c_str(), mode);
}

std::int64_t FileSize(FILE* file) {
    if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
    __int64 size = _ftelli64(file);
    if (size < 0 || _fseeki64(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

int SeekTo(FILE* file, std::int64_t offset) {
    if (offset < 0) return -1;
    return _fseeki64(file, offset, SEEK_SET) == 0 ? 0 : -1;
}

bool FileExists(const std::string& path) {
    if (path.size() > kMaxPath) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<FileStamp> StampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.size() > kMaxPath || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    // FILETIME counts 100 ns from 1601.
    const std::uint64_t ticks =
        (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return FileStamp{static_cast<std::int64_t>((std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow),
                     (static_cast<std::int64_t>(ticks) - 116444736000000000LL) * 100};
}

bool TakeWriteTime(const std::string& path, const std::string& like) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(like.c_str(), GetFileExInfoStandard, &data)) return false;
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool set = SetFileTime(file, nullptr, nullptr, &data.ftLastWriteTime) != 0;
    CloseHandle(file);
    return set;
}

int RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) ? 0 : -1; }

int MoveIntoPlace(const std::string& from, const std::string& to) {
    if (FileStepFails()) {
        SetLastError(ERROR_DISK_FULL);
        return -1;
    }
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : -1;
}

int CreateDir(const std::string& path) {
    if (path.size() > kMaxPath) return -1;
    return CreateDirectoryA(path.c_str(), nullptr) ? 0 : -1;
}

int RemoveDir(const std::string& path) { return RemoveDirectoryA(path.c_str()) ? 0 : -1; }

namespace {

// A name from the file system in the code page of the ...A file functions, only when it
// converts exactly: the best fit would turn a fullwidth "\uFF3C" or a yen sign into a
// backslash and so name another path.
UINT FileCodePage() { return AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

bool NarrowFileName(const wchar_t* wide, std::string& name) {
    const UINT codePage = FileCodePage();
    if (!FromWide(wide, codePage, Conversion::Exact, name) || name.empty()) return false;
    // Some code pages map two characters to one byte sequence: the way back must agree.
    std::wstring back;
    return ToWide(name, codePage, Conversion::Exact, back) && back == wide;
}

}  // namespace

bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) {
    entries.clear();
    std::string pattern = path;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    std::wstring widePattern;
    if (!ToWide(pattern, FileCodePage(), Conversion::Lenient, widePattern)) return false;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(widePattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        std::string name;
        if (!NarrowFileName(data.cFileName, name) || name == "." || name == "..") continue;
        entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

bool SyncFile(FILE* file) {
    const bool fails = FileStepFails();
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0 && !fails;
}

void PlayWaveFile(const std::string& path) { PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_NODEFAULT); }

int LastErrorCode() { return static_cast<int>(GetLastError()); }

std::uint64_t PeakMemoryBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

bool WriteCrlfTextToStdout(std::string_view text) {
    std::fflush(stdout);
    const int mode = _setmode(_fileno(stdout), _O_BINARY);
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    std::fflush(stdout);
    if (mode != -1) _setmode(_fileno(stdout), mode);
    return written;
}

std::string CurrentDirectory() {
    char buf[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

namespace {

constexpr DWORD kCollationFlags = NORM_IGNORECASE | SORT_STRINGSORT;

// A text the platform cannot compare counts as greater than any other, in the sort as
// in LocaleCompare.
std::size_t AppendLastKey(std::string& keys) {
    keys.append("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 9);
    return 9;
}

}  // namespace

int LocaleCompare(std::uint16_t langId, const char* a, const char* b) {
    switch (CompareStringA(MAKELCID(langId, SORT_DEFAULT), kCollationFlags, a, -1, b, -1)) {
        case CSTR_LESS_THAN:
            return -1;
        case CSTR_EQUAL:
            return 0;
        case CSTR_GREATER_THAN:
            return 1;
    }
    return INT_MAX;
}

std::size_t AppendSortKey(std::uint16_t langId, const char* text, std::string& keys) {
    const LCID lcid = MAKELCID(langId, SORT_DEFAULT);
    const DWORD flags = LCMAP_SORTKEY | kCollationFlags;
    // Words are short: one call nearly always fits, the size query only for long texts.
    char buffer[256];
    int n = LCMapStringA(lcid, flags, text, -1, buffer, sizeof buffer);
    if (n > 0) {
        keys.append(buffer, static_cast<std::size_t>(n));
        return static_cast<std::size_t>(n);
    }
    n = LCMapStringA(lcid, flags, text, -1, nullptr, 0);
    if (n <= 0) return AppendLastKey(keys);
    const std::size_t start = keys.size();
    keys.resize(start + static_cast<std::size_t>(n));
    if (LCMapStringA(lcid, flags, text, -1, keys.data() + start, n) != n) {
        keys.resize(start);
        return AppendLastKey(keys);
    }
    return static_cast<std::size_t>(n);
}

std::string ProfileReadString(const std::string& file, const char* section, const char* key, const char* defaultValue,
                              std::size_t maxChars) {
    std::string buf(maxChars + 1, '\0');
    DWORD n = file.empty() ? GetProfileStringA(section, key, defaultValue, buf.data(), static_cast<DWORD>(buf.size()))
                           : GetPrivateProfileStringA(section, key, defaultValue, buf.data(),
                                                      static_cast<DWORD>(buf.size()), file.c_str());
    buf.resize(n);
    return buf;
}

int ProfileReadInt(const std::string& file, const char* section, const char* key, int defaultValue) {
    UINT value = file.empty() ? GetProfileIntA(section, key, defaultValue)
                              : GetPrivateProfileIntA(section, key, defaultValue, file.c_str());
    return static_cast<int>(value);
}

int ProfileWriteString(const std::string& file, const char* section, const char* key, const std::string& value) {
    // The system rewrites the profile; the step is counted as one replacement.
    if (FileStepFails()) {
        SetLastError(ERROR_DISK_FULL);
        return -1;
    }
    const BOOL written = file.empty() ? WriteProfileStringA(section, key, value.c_str())
                                      : WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
    return written ? 0 : -1;
}

bool SameFileName(std::string_view a, std::string_view b) {
    auto wide = [](std::string_view text) {
        std::wstring out;
        ToWide(text, FileCodePage(), Conversion::Lenient, out);
        return out;
    };
    const std::wstring wa = wide(a), wb = wide(b);
    // The file system's own rule: each character upper-cased alone, no locale's order.
    return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace platform
