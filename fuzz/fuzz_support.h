// What the fuzz targets share: a scratch working directory per process, the demo
// working directory's English strings, inputs split into the files of one case, and
// checks of properties that end the run with a finding when they fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Makes a new empty directory under the temporary directory the working directory (once
// per process; it is removed at exit) and loads english.str from the source tree's data/.
// Messages for the user are dropped: the fuzzers look at results, not at what a user sees.
void EnterScratchWorkingDirectory();

// The parts of an input, cut at each line "@@" (the marker "\n@@\n"); parts past the
// last marker are missing, so one case can also leave a file out.
std::vector<std::optional<std::string_view>> SplitInput(const std::uint8_t* data, std::size_t size, std::size_t parts);

// Writes a file (making its directories), or removes it when `bytes` is missing. Paths may
// be the program's own, with backslashes.
void PutFile(const std::string& path, std::optional<std::string_view> bytes);
std::string FileBytes(const std::string& path);

// Ends the run with the failed property, so libFuzzer keeps the input that broke it.
[[noreturn]] void PropertyFailed(const char* what, const char* file, int line, const std::string& detail);
#define FUZZ_CHECK(condition, detail) ((condition) ? (void)0 : PropertyFailed(#condition, __FILE__, __LINE__, (detail)))

// The input as text for a message: printable bytes as they are, others as \xNN.
std::string Shown(std::string_view bytes);

struct WordRecord;

// The whole records of a word or list file's bytes, their fields terminated as the store
// reads them.
std::vector<WordRecord> WholeRecords(std::string_view bytes);
// A record's text fields, for comparing what a file holds before and after a rewrite.
std::string Fields(const WordRecord& record);

// Sorts the current pair's open word file (its first `sortedCount` records said to be in
// order already) and checks the result: the live records of `before`, each once, in the
// order of the pair's comparator.
void SortAndCheck(const std::vector<WordRecord>& before, std::int32_t sortedCount, const std::string& detail);
