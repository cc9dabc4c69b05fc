// The few operating-system services the core needs. Paths are the program's own
// relative Windows paths ("wordlists\eng_dut.gk"); the POSIX side maps the separators.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Longest path the program builds (the Windows MAX_PATH buffer minus its terminator).
constexpr std::size_t kMaxPath = 259;

// Joins path pieces; none when the result would be longer than kMaxPath, since a cut
// path would name another file.
std::optional<std::string> MakePath(std::initializer_list<std::string_view> pieces);

FILE* OpenFile(const std::string& path, const char* mode);
// Size in bytes, or -1. Leaves the file positioned at its start.
std::int64_t FileSize(FILE* file);
// The whole file: the one way the program reads a file at once. False when it cannot be
// opened, sized or read, or holds more than `limit` bytes.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::int64_t limit = INT64_MAX);
int SeekTo(FILE* file, std::int64_t offset);
bool FileExists(const std::string& path);
// A file's size and last-write time (nanoseconds since 1970, in the file system's own
// steps); none when there is no such file.
struct FileStamp {
    std::int64_t size, written;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(const std::string& path);
// Gives `path` the last-write time of `like`: a copy that keeps its source's time shows
// by its stamp alone that it still holds the same bytes. False when that failed.
bool TakeWriteTime(const std::string& path, const std::string& like);
// Whether two file names name the same file: letters compared without case, with the
// case mapping of the code page the file functions use ("ESPA\xD1OL" is "espa\xF1ol").
bool SameFileName(std::string_view a, std::string_view b);
int RemoveFile(const std::string& path);
// Puts `from` in the place of `to` in one step, so `to` is never missing in between.
int MoveIntoPlace(const std::string& from, const std::string& to);
int CreateDir(const std::string& path);
int RemoveDir(const std::string& path);

struct DirEntry {
    std::string name;
    bool isDirectory;
    // A symbolic link or junction: what it names may lie outside the directory listed.
    bool isLink = false;
};
// Entries of a directory, without "." and ".."; false when it cannot be read. A name that
// the program's code page cannot hold exactly is left out: no path made of it would lead
// to that entry.
bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries);

std::string CurrentDirectory();

// Plays a wave file synchronously (nothing where there is no sound playback).
void PlayWaveFile(const std::string& path);
// The error code of the last failed file operation (GetLastError, errno).
int LastErrorCode();
// The most memory the process has held so far, in bytes (0 when unknown).
std::uint64_t PeakMemoryBytes();
// Writes text whose lines end in CRLF to standard output as its text mode ends a line:
// CRLF on Windows, where the text goes out as it is rather than through the mode's
// translation of each LF, and LF elsewhere. False when not every byte was written.
bool WriteCrlfTextToStdout(std::string_view text);

// Case-insensitive string-sort comparison (hyphen and apostrophe count as letters)
// under a Windows language id: negative, 0 or positive; INT_MAX when it fails.
int LocaleCompare(std::uint16_t langId, const char* a, const char* b);
// Appends the sort key of a text under a language id to `keys` and returns its length.
// Keys compared as unsigned bytes order texts as LocaleCompare does.
std::size_t AppendSortKey(std::uint16_t langId, const char* text, std::string& keys);

// Profile files hold "[section]" lines followed by "key=value" lines. An empty
// file name means the user's win.ini; otherwise it is a full path.
std::string ProfileReadString(const std::string& file, const char* section, const char* key, const char* defaultValue,
                              std::size_t maxChars);
int ProfileReadInt(const std::string& file, const char* section, const char* key, int defaultValue);
// 0, or -1 when the value could not be written.
int ProfileWriteString(const std::string& file, const char* section, const char* key, const std::string& value);

}  // namespace platform
