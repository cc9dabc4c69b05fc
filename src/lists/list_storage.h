// Practice lists: directories under the list root, one list file per pair inside.
#pragma once

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
