#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/profile_text.h"
#include "platform/replace_file.h"

namespace platform {
namespace {

std::string Native(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

// Without Windows, the user's win.ini is the file named by DICT_WININI, else win.ini here.
std::string ProfilePath(const std::string& file) {
    if (!file.empty()) return Native(file);
    const char* env = std::getenv("DICT_WININI");
    return env && *env ? env : "win.ini";
}

// A profile file that cannot be read is an empty one, as for the profile functions.
std::string ProfileText(const std::string& nativePath) {
    std::string text;
    if (!ReadFileBytes(nativePath, text)) text.clear();
    return text;
}

}  // namespace

FILE* OpenFile(const std::string& path, const char* mode) {
    if (path.size() > kMaxPath) return nullptr;
    return std::fopen(Native(path).c_str(), mode);
}

std::int64_t FileSize(FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    off_t size = ftello(file);
    if (size < 0 || fseeko(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

int SeekTo(FILE* file, std::int64_t offset) {
    if (offset < 0) return -1;
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 ? 0 : -1;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return path.size() <= kMaxPath && stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat st;
    if (path.size() > kMaxPath || stat(Native(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileStamp{st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

bool TakeWriteTime(const std::string& path, const std::string& like) {
    struct stat st;
    if (stat(Native(like).c_str(), &st) != 0) return false;
    const struct timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
    return utimensat(AT_FDCWD, Native(path).c_str(), times, 0) == 0;
}

int RemoveFile(const std::string& path) { return std::remove(Native(path).c_str()) == 0 ? 0 : -1; }

int MoveIntoPlace(const std::string& from, const std::string& to) {
    if (FileStepFails()) return -1;
    return std::rename(Native(from).c_str(), Native(to).c_str()) == 0 ? 0 : -1;
}

int CreateDir(const std::string& path) {
    if (path.size() > kMaxPath) return -1;
    return mkdir(Native(path).c_str(), 0777) == 0 ? 0 : -1;
}

int RemoveDir(const std::string& path) { return rmdir(Native(path).c_str()) == 0 ? 0 : -1; }

bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) {
    entries.clear();
    std::string dir = Native(path);
    if (dir.empty()) dir = ".";
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        std::string full = dir + (dir.back() == '/' ? "" : "/") + name;
        const bool isLink = lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
        const bool isDir = stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        entries.push_back({name, isDir, isLink});
    }
    closedir(d);
    return true;
}

bool SyncFile(FILE* file) {
    const bool fails = FileStepFails();
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0 && !fails;
}

void PlayWaveFile(const std::string&) {}

int LastErrorCode() { return errno; }

std::uint64_t PeakMemoryBytes() {
    struct rusage usage;
    return getrusage(RUSAGE_SELF, &usage) == 0 ? static_cast<std::uint64_t>(usage.ru_maxrss) * 1024 : 0;
}

bool WriteCrlfTextToStdout(std::string_view text) {
    bool written = true;
    for (std::size_t end; written && (end = text.find("\r\n")) != std::string_view::npos;) {
        written = std::fwrite(text.data(), 1, end, stdout) == end && std::fputc('\n', stdout) != EOF;
        text.remove_prefix(end + 2);
    }
    return written && std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

std::string CurrentDirectory() {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? buf : "";
}

// Without Windows there is no locale collation to ask; the ASCII letters fold to one
// case and other bytes compare by value, enough for the core's tests.
int LocaleCompare(std::uint16_t, const char* a, const char* b) { return strcasecmp(a, b); }

std::size_t AppendSortKey(std::uint16_t, const char* text, std::string& keys) {
    std::size_t n = 0;
    for (; text[n] != '\0'; ++n) {
        char c = text[n];
        keys += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    keys += '\0';
    return n + 1;
}

std::string ProfileReadString(const std::string& file, const char* section, const char* key, const char* defaultValue,
                              std::size_t maxChars) {
    std::string value = ProfileTextGet(ProfileText(ProfilePath(file)), section, key).value_or(defaultValue);
    if (value.size() > maxChars) value.resize(maxChars);
    return value;
}

int ProfileReadInt(const std::string& file, const char* section, const char* key, int defaultValue) {
    auto value = ProfileTextGet(ProfileText(ProfilePath(file)), section, key);
    if (!value || value->empty()) return defaultValue;
    return ProfileTextToInt(*value);
}

int ProfileWriteString(const std::string& file, const char* section, const char* key, const std::string& value) {
    const std::string path = ProfilePath(file);
    const std::string text = ProfileTextSet(ProfileText(path), section, key, value);
    return ReplaceFile(path, path + ".new", [&](FILE* out) { return WriteBytes(out, text.data(), text.size()); }) == 0
               ? 0
               : -1;
}

// Here names are taken as code page 1252, the system code page of the program's users.
bool SameFileName(std::string_view a, std::string_view b) {
    auto upper = [](unsigned char c) -> unsigned char {
        if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
        if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 16);  // s, oe, z caron
        if (c == 0xFF) return 0x9F;                                                          // y diaeresis
        return c;
    };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(static_cast<unsigned char>(a[i])) != upper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace platform
