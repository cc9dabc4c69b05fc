#include "core/checker/checker.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string_view>

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/morphology/language_morphology.h"
#include "core/practice/practice.h"
#include "core/review/review_memory.h"
#include "core/review/stored_weights.h"
#include "core/store/collation.h"
#include "core/store/record_bytes.h"
#include "core/store/word_record.h"
#include "core/text/code_page.h"
#include "core/text/fixed_text.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace {

struct RecordFile {
    std::vector<WordRecord> records;
    std::size_t tailBytes = 0;  // a partial record at the end
    int unterminated = 0;       // records with a field that runs to its end
    int marked = 0;             // deleted (word file) or marked for removal (list file)
    int emptyWords = 0;         // live records without a word, which nothing can find or show
    bool exists = false;
};

// A list entry stands for the word file's record of the same word, as the store finds it:
// the case of A-Z aside, and whatever translations the record has gained since.
std::string EntryKey(const WordRecord& r) {
    std::string key(r.word);
    for (char& c : key) c = FoldAscii(c);
    return key;
}

bool Terminated(const char* field, std::size_t size) { return std::memchr(field, '\0', size) != nullptr; }

// The records of the whole file, and how much is left of a partial one.
RecordFile ReadRecordFile(const std::string& path) {
    RecordFile file;
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes)) return file;
    file.exists = true;
    file.records = RecordsFromBytes(bytes);
    file.tailBytes = bytes.size() % sizeof(WordRecord);
    for (WordRecord& record : file.records) {
        if (!Terminated(record.word, sizeof record.word) || !Terminated(record.translation, sizeof record.translation))
            ++file.unterminated;
        TerminateFields(record);
        if (IsDeleted(record))
            ++file.marked;
        else if (record.word[0] == '\0')
            ++file.emptyWords;
    }
    return file;
}

std::string Count(std::size_t n, const char* what) { return std::to_string(n) + " " + what; }

// The findings common to both kinds of file; true when the file needs rewriting.
bool CommonFindings(const RecordFile& file, FileCheck& check, const char* markedWhat) {
    if (file.tailBytes)
        check.findings.push_back("a partial record of " + Count(file.tailBytes, "bytes") + " at the end");
    if (file.unterminated) check.findings.push_back(Count(file.unterminated, "records with a field that has no end"));
    if (file.marked) check.findings.push_back(Count(file.marked, markedWhat));
    if (file.emptyWords) check.findings.push_back(Count(file.emptyWords, "records with an empty word"));
    return file.tailBytes || file.unterminated || file.marked || file.emptyWords;
}

// The records a repair keeps: live ones with a word.
std::vector<WordRecord> Live(const std::vector<WordRecord>& records) {
    std::vector<WordRecord> live;
    std::copy_if(records.begin(), records.end(), std::back_inserter(live),
                 [](const WordRecord& r) { return !IsDeleted(r) && r.word[0] != '\0'; });
    return live;
}

void Rewrite(FileCheck& check, const std::vector<WordRecord>& records, const std::string& what) {
    if (platform::ReplaceFileWith(check.path, BytesOfRecords(records)) == 0)
        check.repairs.push_back(what + ": " + Count(records.size(), "records written"));
    else
        check.findings.push_back("could not be rewritten; it is as it was");
}

FileCheck CheckWordFile(const std::string& path, const RecordFile& file, bool repair) {
    FileCheck check{path, {}, {}};
    bool rewrite = CommonFindings(file, check, "deleted records");
    std::size_t outOfOrder = 0;
    for (std::size_t i = 1; i < file.records.size(); ++i)
        if (CompareWords(file.records[i - 1].word, file.records[i].word) > 0) ++outOfOrder;
    if (outOfOrder) check.findings.push_back(Count(outOfOrder, "records out of order"));
    rewrite = rewrite || outOfOrder;
    if (repair && rewrite) {
        std::vector<WordRecord> sorted = Live(file.records);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const WordRecord& a, const WordRecord& b) { return CompareWords(a.word, b.word) < 0; });
        Rewrite(check, sorted, "sorted");
    }
    return check;
}

FileCheck CheckListFile(const std::string& path, const RecordFile& file, const std::set<std::string>& entries,
                        bool repair) {
    FileCheck check{path, {}, {}};
    const bool rewrite = CommonFindings(file, check, "records marked for removal");
    std::size_t missing = 0;
    for (const WordRecord& r : file.records)
        if (!entries.count(EntryKey(r))) ++missing;
    if (missing) check.findings.push_back(Count(missing, "entries no longer in the word file"));
    if (repair && rewrite) Rewrite(check, Live(file.records), "compacted");
    const std::string score = path.substr(0, path.size() - 3) + ".score";
    FILE* in = platform::OpenFile(score, "rb");
    if (in) {
        std::fclose(in);
        if (!ReadScore(score)) check.findings.push_back("its score file is damaged; it counts as no score");
    }
    return check;
}

// The review log is the learner's record: its findings are only reported, never repaired.
// Words are looked for as list entries are; none when the pair has no log.
std::optional<FileCheck> CheckReviewLog(const std::string& wordFile, const RecordFile& words) {
    const std::optional<std::string> path = review::ReviewLogPath(wordFile);
    std::string log;
    if (!path || !platform::ReadFileBytes(*path, log)) return std::nullopt;
    FileCheck check{*path, {}, {}};
    std::map<std::string, std::string> logged;  // by key, the word as last logged
    std::vector<review::LogProblem> problems;
    review::ScanReviewLog(
        log, [&](const review::LogEntry& e) { logged[review::ReviewMemory::Key(e.word)] = e.word; }, problems);
    constexpr std::size_t kShown = 10;
    for (std::size_t i = 0; i < problems.size() && i < kShown; ++i)
        check.findings.push_back("line " + std::to_string(problems[i].line) + " skipped (" + problems[i].reason +
                                 "): " + problems[i].text);
    if (problems.size() > kShown) check.findings.push_back(Count(problems.size() - kShown, "more lines skipped"));
    for (const WordRecord& r : words.records)
        if (!IsDeleted(r)) logged.erase(EntryKey(r));
    if (!logged.empty()) {
        std::string names;
        for (const auto& [key, word] : logged) names += (names.empty() ? "" : ", ") + word;
        check.findings.push_back(Count(logged.size(), "reviewed words no longer in the word file: ") + names);
    }
    return check;
}

// A refused parameters file is only reported: the scheduler uses the defaults meanwhile, and
// the next fit the learner applies replaces it.
std::optional<FileCheck> CheckStoredWeights(const std::string& wordFile) {
    const std::optional<std::string> path = review::ReviewParamsPath(wordFile);
    review::StoredWeights stored;
    std::string reason;
    if (!path || review::ReadStoredWeights(*path, stored, reason) != review::WeightsFile::Refused) return std::nullopt;
    return FileCheck{*path, {"refused (" + reason + "): the default parameters are used"}, {}};
}

// Each language's morphology files once, read as its pairs read them; a language with no
// files is no finding, it only goes without base forms.
void CheckMorphology(std::vector<FileCheck>& checks) {
    std::set<std::pair<std::string, unsigned>> seen;
    for (WordListDescriptor* pair = CatalogueHead; pair; pair = pair->next) {
        const unsigned codePage = CodePageOfCharset(pair->charset1);
        const std::optional<MorphologyFiles> files = FindMorphologyFiles(kMorphologyDirectory, pair->locale);
        if (!files || !seen.insert({files->aff + files->forms, codePage}).second) continue;
        std::vector<MorphologyFinding> findings;
        FormsTable forms;
        CheckMorphologyFiles(*files, codePage, forms, findings);
        for (const std::string& path : {files->aff, files->dic, files->forms}) {
            if (path.empty()) continue;
            FileCheck check{path, {}, {}};
            for (const MorphologyFinding& f : findings)
                if (f.file == path)
                    check.findings.push_back(f.line ? "line " + std::to_string(f.line) + ": " + f.what : f.what);
            if (!check.findings.empty())
                check.findings.push_back("the " + std::string(pair->locale) +
                                         " words have no base forms until it is put right");
            checks.push_back(std::move(check));
        }
    }
}

}  // namespace

std::vector<FileCheck> CheckWorkingDirectory(bool repair) {
    std::vector<FileCheck> checks;
    const std::vector<std::string> lists = EnumerateLists();
    WordListDescriptor* const current = CurrentPair;
    for (WordListDescriptor* pair = CatalogueHead; pair; pair = pair->next) {
        // The sort table is the current pair's.
        CurrentPair = pair;
        SetCollation(*pair, LocaleReport::Silent);
        const std::optional<std::string> path = WordFilePath(*pair);
        if (!path) continue;
        const RecordFile words = ReadRecordFile(*path);
        if (!words.exists) {
            checks.push_back({*path, {"cannot be read"}, {}});
            continue;
        }
        checks.push_back(CheckWordFile(*path, words, repair));
        if (std::optional<FileCheck> log = CheckReviewLog(*path, words)) checks.push_back(std::move(*log));
        if (std::optional<FileCheck> weights = CheckStoredWeights(*path)) checks.push_back(std::move(*weights));
        // The lists are small and the word file large: only the lists' entries are looked for.
        std::vector<std::pair<std::string, RecordFile>> listFiles;
        std::set<std::string> wanted, entries;
        for (const std::string& list : lists) {
            const std::optional<std::string> listPath = ListFilePath(*pair, list);
            if (!listPath) continue;
            RecordFile listed = ReadRecordFile(*listPath);
            if (!listed.exists) continue;
            for (const WordRecord& r : listed.records) wanted.insert(EntryKey(r));
            listFiles.emplace_back(*listPath, std::move(listed));
        }
        if (!wanted.empty())
            for (const WordRecord& r : words.records)
                if (std::string key = EntryKey(r); wanted.count(key)) entries.insert(std::move(key));
        for (const auto& [listPath, listed] : listFiles)
            checks.push_back(CheckListFile(listPath, listed, entries, repair));
    }
    CurrentPair = current;
    if (current) SetCollation(*current, LocaleReport::Silent);
    CheckMorphology(checks);
    return checks;
}
