// Importing other programs' vocabulary into the current pair, and exporting the pair's
// words to their files. An import is worked out whole and reported before anything is
// written; its words then enter as typed words do, each feeding the reverse pair.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/foreign_file.h"
#include "core/exchange/format_table.h"
#include "core/store/word_record.h"

struct WordListDescriptor;

// What an import tells of its work as it goes: tests fail a step by throwing
// std::bad_alloc there, to see the failure reported with nothing changed.
class ImportProbe {
public:
    // Each step that needs much memory: "read", "plan", "report" (RunPlannedImport), "sort",
    // "write", "write reverse".
    virtual void Step(const char* /*step*/) {}
    // Before each batch of entries is merged, on the thread that merges.
    virtual void Merging() {}

protected:
    ~ImportProbe() = default;
};

struct ImportOptions {
    std::optional<ExchangeFormat> format;  // none: from the file's name
    std::string first, second;             // KVTML languages by id, name or locale; none: the pair's names
    char separator = 0;                    // of tab and comma text; 0: as the file says or shows
    std::size_t maxText = kMaxImportText;  // the most text taken from the file, unpacked
    // Called now and then while the entries are planned, on the thread that plans, with the
    // count read so far; false stops the plan (the user cancelled). None: the plan runs through.
    std::function<bool(std::int64_t entries)> progress;
    // False plans on the one thread, as when no second can be had; otherwise the entries are
    // merged on a thread beside the one reading them.
    bool mergeBeside = true;
    // Told of the import's steps (kept in the plan for its writing); none but in tests and
    // in the timing of wordlist --stats.
    ImportProbe* probe = nullptr;
};

// A line whose entry cannot be stored as it is: skipped, or stored with less.
struct ImportProblem {
    int line;
    std::string_view message;  // held by the report's problems
};

// The problems of an import in the order found, their messages kept in one text: a
// dictionary has a quarter of a million of them, each else an allocation of its own.
class ImportProblems {
public:
    void Add(int line, std::string_view message) {
        text_.append(message);
        lines_.push_back({line, text_.size()});
    }
    // Room that is only taken as it is used: grown by doubling, the text of a dictionary's
    // problems would be copied, and its memory touched, twice over.
    void Reserve(std::size_t lines, std::size_t textBytes) {
        lines_.reserve(lines);
        text_.reserve(textBytes);
    }
    bool empty() const { return lines_.empty(); }
    std::size_t size() const { return lines_.size(); }
    ImportProblem operator[](std::size_t i) const {
        const std::size_t begin = i ? lines_[i - 1].end : 0;
        return {lines_[i].line, std::string_view(text_).substr(begin, lines_[i].end - begin)};
    }

    class Iterator {
    public:
        Iterator(const ImportProblems& problems, std::size_t i) : problems_(&problems), i_(i) {}
        ImportProblem operator*() const { return (*problems_)[i_]; }
        Iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return i_ != other.i_; }

    private:
        const ImportProblems* problems_;
        std::size_t i_;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, lines_.size()}; }

private:
    struct Line {
        int line;
        std::size_t end;  // of its message in text_
    };
    std::string text_;
    std::vector<Line> lines_;
};

struct ImportReport {
    std::string file;
    ExchangeFormat format = ExchangeFormat::Tsv;
    std::string languages;
    char separator = 0;    // of a separated file
    std::string encoding;  // as the file's text was told
    int entries = 0;       // read from the file
    int added = 0;         // new words
    int merged = 0;        // words that were there and gained translations
    int unchanged = 0;     // words that were there with every translation
    int skipped = 0;       // not stored: see the problems
    int partsLeftOut = 0;  // pieces of translations the pair cannot hold: see the problems
    int reverseAdded = 0;
    int reverseMerged = 0;
    int reverseSkipped = 0;  // translations the reverse pair cannot take as words: see the problems
    bool utf8 = true;        // the problems quote the file's text in UTF-8, else in the pair's code page
    ImportProblems problems;
};

struct ImportPlan {
    ImportReport report;
    WordListDescriptor* pair = nullptr;
    WordListDescriptor* reverse = nullptr;
    // The pair's word file afterwards, not yet sorted: the records it held, then the
    // report's `added` new ones in the file's order (the import dialog lists them).
    std::vector<WordRecord> forward;
    std::vector<WordRecord> backward;  // the reverse pair's
    bool forwardChanged = false;
    bool backwardChanged = false;
    std::string forwardBefore;     // the word file's bytes, put back if the reverse one cannot be written
    bool cancelled = false;        // PlanImport stopped as the progress asked
    ImportProbe* probe = nullptr;  // the options'
};

// Reads the file and works out what importing it into the current pair changes; nothing
// is written. False with a message when the file cannot be read, is damaged, is larger
// than the options allow or does not fit in memory, and false with `plan.cancelled` when
// the options' progress stopped it.
bool PlanImport(const std::string& path, const ImportOptions& options, ImportPlan& plan, std::string& error);

// Sorts both word files' records and replaces each file in one step: afterwards both hold
// the import or, on failure, both are as they were. The caller closes the store first and
// reopens it afterwards (a file that is open cannot be replaced on Windows).
// `beforeWriting`, when given, is called once the records are sorted and before anything
// is written; false stops the import there, with `error` as it was.
bool ApplyImport(ImportPlan& plan, std::string& error, const std::function<bool()>& beforeWriting = {});

// The report as lines of text, each ending in `newline`: the counts, then each problem with
// its line number, at most `maxProblems` of them.
std::string DescribeImport(const ImportReport& report, std::size_t maxProblems = static_cast<std::size_t>(-1),
                           std::string_view newline = "\n");

// Where the whole report of the last import into the pair is kept: the word file's name
// with ".import.txt" for its extension, in the working directory.
std::string ImportReportPath(const WordListDescriptor& pair);
// The whole report as ImportReportPath keeps it: UTF-8 after a byte-order mark, with CRLF
// line ends, so Notepad shows every language's letters. Of a report in UTF-8, the text
// after the mark is DescribeImport's with CRLF for each line end.
// `file`, when given, names the imported file in place of the report's own name of it.
std::string ImportReportFile(const ImportReport& report, const WordListDescriptor& pair,
                             std::optional<std::string_view> file = std::nullopt);
// Writes ImportReportFile's bytes to ImportReportPath; false with a message.
bool SaveImportReport(std::string_view file, const WordListDescriptor& pair, std::string& error);
bool WriteImportReport(const ImportReport& report, const WordListDescriptor& pair, std::string& error,
                       std::optional<std::string_view> file = std::nullopt);

// Writes the current pair's live words to the file, in the format its name gives (or
// `format`): UTF-8 where the format says so, the pair's code page otherwise. The number of
// words written, or -1 with a message.
int ExportCurrentPair(const std::string& path, std::optional<ExchangeFormat> format, std::string& error);
