// Practice lists: directories under the list root, one list file per pair inside.
// The current list's name is the setting PracticeList.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/settings/settings.h"

struct WordListDescriptor;

// The lists in menu order: directories of the root whose names a list may have (so
// none begins with a full stop), in case-insensitive name order so every file system
// numbers them alike.
std::vector<std::string> EnumerateLists();
int CountLists();
// Makes the first list current; its menu id, or 0 when there is no list.
int SelectFirstList();
bool PracticeListExists(const std::string& name);
// The menu id of a list: 800 + its place in the enumeration; 0 when it does not exist.
int ListIdOf(const std::string& name);

// A list name has at most 148 characters, no full stop (so it never starts with one) and
// can name a directory on Windows.
bool ListNameAllowed(const std::string& name);
// A typed name as the file system will keep it: Windows drops trailing blanks and full
// stops from a directory name, so they go before the name is checked.
std::string TrimmedListName(const std::string& typed);
// Makes a typed name the current list, creating its directory; an existing list of that
// name in another letter case becomes current as it is spelt on disk. False, with the
// current list as it was, when the name is longer than a list name may be (it is never
// cut, which would make another list) or the directory cannot be made.
bool MakeListCurrent(const std::string& name);

// root + list name + "\" + the pair's list file; none when too long.
std::optional<std::string> ListFilePath(const WordListDescriptor& pair, const std::string& listName);
// The same for the current list and pair; none without a current list. The operations
// that write create the directory first.
std::optional<std::string> CurrentListPath(bool createDirectory = false);

// Opens the current pair's file of the current list; without a current list the first
// list becomes current. 0, or -1 when there is no list file (ListCount is then 0).
int OpenListFile();
// Closes, opens and counts the list file again, after it was replaced or the list changed.
void ReopenListFile();

// Replaces the current list file by a copy of the whole word file (deleted records
// arrive marked). 0, or the platform's error code, which is also shown to the user.
// The word file stays open: it is only read.
int FillListFromWordFile();
void ClearCurrentList();
// Removes the marked records of the current list file, keeping the order. -1 when the
// list could not be rewritten; it is then as it was.
int CompactCurrentList();
// Deletes every file of the current list's directory and the directory, then makes the
// first remaining list current. -1 when the directory stayed; the caller tells the user.
int DeleteCurrentList();
