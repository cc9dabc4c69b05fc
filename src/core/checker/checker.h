// The checker of a working directory's files: every pair's word file and practice-list
// files read whole and reported, and on request put right.
#pragma once

#include <string>
#include <vector>

struct FileCheck {
    std::string path;
    std::vector<std::string> findings;  // what is wrong, one line each
    std::vector<std::string> repairs;   // what --repair changed
};

// Checks every file of the catalogue's pairs, and the morphology files of their first
// languages (only read: they are the user's to mend); with `repair`, a word file is sorted and
// rid of deleted and partial records, a list file rid of marked and partial records, each
// replaced in one step. Entries a list holds that its word file no longer has are only
// reported: they are the user's words.
std::vector<FileCheck> CheckWorkingDirectory(bool repair);
