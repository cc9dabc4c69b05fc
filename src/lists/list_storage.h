// Practice lists: directories under the list root, one list file per pair inside.
// The current list's name is the setting PracticeList.
#pragma once

#include <optional>
#include <string>
#include <vector>

constexpr int kFirstListId = 800;
constexpr std::size_t kMaxListNameChars = 148;

// The lists in menu order: directories of the root not beginning with a full stop,
// in case-insensitive name order so every file system numbers them alike.
std::vector<std::string> EnumerateLists();
int CountLists();
// Makes the first list current; its menu id, or 0 when there is no list.
int SelectFirstList();
bool PracticeListExists(const std::string& name);
// The menu id of a list: 800 + its place in the enumeration; 0 when it does not exist.
int ListIdOf(const std::string& name);

// A list name holds none of / \ < > | . " * ? : (so it never starts with a full stop).
bool ListNameAllowed(const std::string& name);
// Makes a typed name the current list, creating its directory; an existing list of that
// name in another letter case becomes current as it is spelt on disk. When the directory
// cannot be made the current list stays as it was.
void MakeListCurrent(const std::string& name);

// root + current name + "\" + the pair's list file; none without a current list or
// when too long. The operations that write create the directory first.
std::optional<std::string> CurrentListPath(bool createDirectory = false);

// Replaces the current list file by a copy of the whole word file (deleted records
// arrive marked). 0, or the platform's error code, which is also shown to the user.
int FillListFromWordFile();
void ClearCurrentList();
// Removes the marked records of the current list file, keeping the order. -1 when the
// list could not be rewritten; it is then as it was.
int CompactCurrentList();
// Deletes every file of the current list's directory and the directory, then makes the
// first remaining list current. -1 when the directory stayed (the user is told).
int DeleteCurrentList();
