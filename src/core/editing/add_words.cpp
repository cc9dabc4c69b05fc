#include "core/editing/add_words.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/text/fixed_text.h"
#include "core/text/pieces.h"
#include "platform/file_writes.h"
#include "platform/platform.h"

AddingState Adding;

namespace {

// Where the word stands among the first `limit` records, when it is there: the record is
// then CurrentRecord. Records past the limit (appended since the window opened) never match.
std::optional<std::int32_t> Find(const std::string& word, std::int32_t limit) {
    if (limit < 1) return std::nullopt;
    const std::int32_t p = FindWord(word.c_str(), limit);
    if (p >= limit || ReadWord(p) != 0 || !EqualsIgnoringAsciiCase(CurrentRecord.word, word)) return std::nullopt;
    return p;
}

// Appends a record to the current pair's list, when new words go there and a list file opens.
void AppendToList(const WordRecord& record) {
    if (Settings.AddNewWordsToList != 1) return;
    CloseListFile();
    if (OpenListFile() != 0) return;
    CountListRecords();
    CurrentRecord = record;
    if (WriteListEntry(ListCount) == 0) ++ListCount;
}

void AppendToJournal(const WordListDescriptor& pair, const WordRecord& record) {
    const std::optional<std::string> path = platform::MakePath({"new\\", pair.name1, "_", pair.name2, ".gk"});
    FILE* journal = path ? platform::OpenFile(*path, "ab") : nullptr;
    if (!journal) return;  // the journal is optional: the word is stored all the same
    platform::WriteBytes(journal, &record, sizeof record);
    platform::CloseFile(journal);
}

// A record written during one entry and what stood there before (none: appended), so a
// failure later in the entry can take it back.
struct Written {
    std::int32_t index;
    std::optional<WordRecord> before;
    WordRecord record;  // as written
    bool isNew;         // a word the user had not got: appended, or brought back from deleted
};

// Puts back what the entry overwrote; a record it appended is marked deleted, which the
// closing sort drops (the file cannot be shortened in place).
void TakeBack(const std::vector<Written>& written) {
    for (auto w = written.rbegin(); w != written.rend(); ++w) {
        CurrentRecord = w->before.value_or(w->record);
        if (!w->before) CurrentRecord.deleted = 1;
        WriteWord(w->index);
    }
}

bool WordFileOpens(const WordListDescriptor& pair) {
    const std::optional<std::string> path = WordFilePath(pair);
    FILE* file = path ? platform::OpenFile(*path, "r+b") : nullptr;
    if (file) std::fclose(file);
    return file != nullptr;
}

// Writes `record` at `index` (WordCount: appended); what was done, when the file took it.
std::optional<Written> Write(std::int32_t index, const WordRecord& record, std::optional<WordRecord> before,
                             bool isNew) {
    CurrentRecord = record;
    if (WriteWord(index) != 0) {
        // A failing disk may have taken part of the record: the old one goes back.
        if (before) {
            CurrentRecord = *before;
            WriteWord(index);
        }
        return std::nullopt;
    }
    if (index == WordCount) ++WordCount;
    return Written{index, before, record, isNew};
}

bool WriteNoted(std::int32_t index, const WordRecord& record, std::optional<WordRecord> before, bool isNew,
                std::vector<Written>& written) {
    const std::optional<Written> done = Write(index, record, before, isNew);
    if (done) written.push_back(*done);
    return done.has_value();
}

WordRecord MakeRecord(const std::string& word, const std::string& translation) {
    WordRecord record{};
    SetWord(record, word);
    SetTranslation(record, translation);
    return record;
}

// The forward record: an existing one keeps its place and takes the translation; one
// marked deleted comes back live. A new word goes to the end.
std::optional<Written> Store(const std::string& word, const std::string& translation, std::int32_t limit) {
    const WordRecord record = MakeRecord(word, translation);
    if (const std::optional<std::int32_t> found = Find(word, limit)) {
        const WordRecord before = CurrentRecord;
        return Write(*found, record, before, IsDeleted(before));
    }
    std::optional<Written> appended = Write(WordCount, record, std::nullopt, true);
    if (appended) ModifiedFlag = 1;
    return appended;
}

// The reverse entry of one translation piece for word W, in the reverse pair's open
// store. False when the word file did not take it.
bool AddReverseEntry(const std::string& piece, const std::string& word, std::vector<Written>& written) {
    if (piece.size() > kMaxWordChars) {
        Adding.reverseLeftOut.push_back(piece);
        return true;
    }
    const std::optional<std::int32_t> found = Find(piece, Adding.reverseSortedCount);
    if (!found) return WriteNoted(WordCount, MakeRecord(piece, word), std::nullopt, true, written);
    const WordRecord before = CurrentRecord;
    // A deleted entry's old translations were deleted with it: it comes back with W alone.
    if (IsDeleted(before)) return WriteNoted(*found, MakeRecord(piece, word), before, true, written);
    // An entry without room for the word, or that lists it already, stays as it is.
    char text[kMaxTranslationChars + 1];
    std::size_t length = strnlen(before.translation, kMaxTranslationChars);
    std::memcpy(text, before.translation, length);
    const PieceAdded added = AddTranslationPiece(text, length, kMaxTranslationChars, word);
    if (added == PieceAdded::NoRoom) Adding.reverseLeftOut.push_back(piece);
    if (added != PieceAdded::Added) return true;
    WordRecord merged = before;
    SetTranslation(merged, std::string_view(text, length));
    return WriteNoted(*found, merged, before, false, written);
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return std::string();
    return std::string(text.substr(begin, text.find_last_not_of(' ') - begin + 1));
}

std::string NormaliseTranslation(std::string_view text) {
    std::string joined;
    NormaliseTranslation(text, joined);
    return joined;
}

void NormaliseTranslation(std::string_view text, std::string& joined) {
    joined.clear();
    ForEachTranslationPiece(text, [&](std::string_view piece) {
        if (!joined.empty()) joined += ", ";
        joined += piece;
        return false;
    });
}

void BeginAdding() {
    Adding = AddingState{};
    Adding.pair = CurrentPair;
    Adding.reverse = CurrentPair ? ReversePair(*CurrentPair) : nullptr;
    Adding.sortedCount = WordCount;
    ModifiedFlag = 0;
    platform::CreateDir("new");
}

std::optional<std::string> PreviewTranslation(const std::string& word) {
    if (word.empty() || word.find(',') != std::string::npos) return std::nullopt;
    // A deleted word is not there for the user; its old translation is gone with it.
    if (!Find(word, Adding.sortedCount) || IsDeleted(CurrentRecord)) return std::nullopt;
    return std::string(CurrentRecord.translation);
}

EntryResult ConfirmEntry(const std::string& wordField, const std::string& translationField) {
    // The word is stored as it is searched: trimmed.
    const std::string word = TrimBlanks(wordField);
    const std::string typed = TrimBlanks(translationField);
    Adding.reverseLeftOut.clear();
    if (word.empty() || typed.empty()) return EntryResult::Ignored;
    if (word.find(',') != std::string::npos) return EntryResult::HasComma;
    const std::string translation = NormaliseTranslation(typed);
    if (translation.empty()) return EntryResult::Cleared;
    // Cutting would lose what the user typed; the window says so instead.
    if (word.size() > kMaxWordChars || translation.size() > kMaxTranslationChars) return EntryResult::TooLong;
    // Checked before the first write: a reverse file that cannot be opened stops the entry
    // while nothing is written yet.
    if (Adding.reverse && !WordFileOpens(*Adding.reverse)) return EntryResult::ReverseNotStored;

    const std::optional<Written> stored = Store(word, translation, Adding.sortedCount);
    if (!stored) return EntryResult::NotStored;
    const std::vector<Written> forward = {*stored};

    if (Adding.reverse) {
        if (TrySwitchStoreTo(*Adding.reverse) != 0) {
            TakeBack(forward);
            return EntryResult::ReverseNotStored;
        }
        if (Adding.reverseSortedCount < 0) Adding.reverseSortedCount = WordCount;
        std::vector<Written> reverse;
        const bool failed = ForEachTranslationPiece(
            translation, [&](std::string_view piece) { return !AddReverseEntry(std::string(piece), word, reverse); });
        if (failed) {
            TakeBack(reverse);
            Adding.reverseLeftOut.clear();
        }
        for (const Written& w : reverse) {
            if (!w.before) Adding.reverseChanged = true;  // appended: the closing sort takes it in (or out)
            if (!failed && w.isNew) AppendToList(w.record);
        }
        SwitchStoreTo(*Adding.pair);
        if (failed) {
            TakeBack(forward);
            return EntryResult::ReverseNotStored;
        }
    }

    if (stored->isNew) {
        AppendToJournal(*Adding.pair, stored->record);
        AppendToList(stored->record);
    }
    ++Adding.entries;
    return EntryResult::Stored;
}
