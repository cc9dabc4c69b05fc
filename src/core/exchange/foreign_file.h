// What every reader of another program's file gives: its entries, and what it found of the
// file's text and languages for the report.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One word and its translation as the file gives them, with the line they start on.
struct ForeignEntry {
    int line = 0;
    std::string word;
    std::string translation;
    std::string refused;  // why the entry cannot be taken, when the file itself is sound
    std::string remark;   // what was mended in taking it, for the report
};

struct ForeignFile {
    std::vector<ForeignEntry> entries;
    bool utf8 = true;       // the text is UTF-8; otherwise it is in the pair's code page
    std::string encoding;   // how the text was told, for the report; empty when the format says
    std::string languages;  // what the file said of its languages, for the report
    char separator = 0;     // of a separated file: the one its fields were split at
};

// Takes a file's entries one at a time, as a reader finds them, so that none need be kept.
class EntrySink {
public:
    virtual void Expect(std::size_t count) = 0;  // at most this many entries follow
    virtual void Take(const ForeignEntry& entry) = 0;

protected:
    ~EntrySink() = default;
};
