// Helpers shared by the unit tests: a fresh working directory per test, strings
// tables in memory, and word files written record by record.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/store/word_record.h"

// A new empty directory that is the working directory while the object lives.
class WorkDir {
public:
    WorkDir();
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// Closes the store before its directory goes.
struct StoreCloser {
    ~StoreCloser();
};

// A test in a fresh working directory, the store closed at its end.
class InWorkDir : public testing::Test {
protected:
    WorkDir dir;
    StoreCloser closer;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);

// The plain text of a strings table holding every key: the test values, with `overrides`
// in their place or added; a key mapped to "\x01" is left out.
std::string StringsText(const std::map<std::string, std::string>& overrides = {});
// A strings text as the image a loaded strings file gives: each line ends in a zero.
std::vector<char> StringsImage(const std::string& text);
// Installs such a table as the loaded strings.
void UseStrings(const std::map<std::string, std::string>& overrides = {});

// Installs the test strings (with `strings` in place), forgets the settings and builds the
// catalogue from `text`, written as cat.ini.
void UseCatalogue(const std::string& text, const std::map<std::string, std::string>& strings = {});
// An empty word file for every pair of the catalogue.
void WriteEmptyWordFiles();
// The catalogue `text` with its first pair current: `words` in its word file, every other
// word file empty and, when `list` is named, that list current with `entries` in the pair's
// list file. The store is left closed, since an open file cannot be replaced on Windows.
void UsePair(const std::string& text, const std::vector<WordRecord>& words = {}, const std::string& list = "",
             const std::vector<WordRecord>& entries = {});
// The same, with the store then open on the pair.
void OpenPair(const std::string& text, const std::vector<WordRecord>& words = {}, const std::string& list = "",
              const std::vector<WordRecord>& entries = {});

WordRecord Record(const std::string& word, const std::string& translation = "", int deleted = 0);
std::string RecordBytes(const std::vector<WordRecord>& records);
void WriteRecords(const std::string& path, const std::vector<WordRecord>& records);
std::vector<WordRecord> ReadRecords(const std::string& path);
// The words of a word or list file, in file order.
std::vector<std::string> WordsIn(const std::string& path);
// "w" and five digits: words whose order is their number's.
std::string NumberedWord(int n);

// The messages shown to the user while it lives, as "caption: text".
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    std::vector<std::string> messages;
};

// win.ini for the settings: emptied of the program's section, and read back whole.
void ResetWinIni();
std::string WinIniText();

// Makes file step `n` fail while it lives (0: none fails, the steps are only counted).
class FailingFileStep {
public:
    explicit FailingFileStep(std::uint64_t n);
    ~FailingFileStep();
    FailingFileStep(const FailingFileStep&) = delete;
    FailingFileStep& operator=(const FailingFileStep&) = delete;
};

// Every file under the working directory by its relative path ("/" between names), with its bytes.
std::map<std::string, std::string> FilesHere();
