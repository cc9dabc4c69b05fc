#include "core/editing/add_words.h"

#include <cstdio>
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

std::vector<std::string> Pieces(std::string_view text) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        pieces.push_back(TrimBlanks(text.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos) return pieces;
        start = comma + 1;
    }
}

// Where the word stands among the first `limit` records, when it is there: the record is
// then CurrentRecord. Records past the limit (appended since the window opened) never match.
std::optional<std::int32_t> Find(const std::string& word, std::int32_t limit) {
    if (limit < 1) return std::nullopt;
    const std::int32_t p = FindWord(word.c_str(), limit);
    if (p >= limit || ReadWord(p) != 0 || !EqualsIgnoringAsciiCase(CurrentRecord.word, word)) return std::nullopt;
    return p;
}

// Appends CurrentRecord to the current list, when new words go there and a list file opens.
void AppendToList() {
    if (Settings.AddNewWordsToList != 1) return;
    CloseListFile();
    if (OpenListFile() != 0) return;
    CountListRecords();
    if (WriteListEntry(ListCount) == 0) ++ListCount;
}

void AppendToJournal(const WordListDescriptor& pair) {
    const std::optional<std::string> path = platform::MakePath({"new\\", pair.name1, "_", pair.name2, ".gk"});
    FILE* journal = path ? platform::OpenFile(*path, "ab") : nullptr;
    if (!journal) return;  // the journal is optional: the word is stored all the same
    platform::WriteBytes(journal, &CurrentRecord, sizeof CurrentRecord);
    platform::CloseFile(journal);
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
    if (!Find(word, Adding.sortedCount)) return std::nullopt;
    return std::string(CurrentRecord.translation);
}

EntryResult ConfirmEntry(const std::string& wordField, const std::string& translationField) {
    // The word is stored as it is searched: trimmed.
    const std::string word = TrimBlanks(wordField);
    const std::string typed = TrimBlanks(translationField);
    if (word.empty() || typed.empty()) return EntryResult::Ignored;
    if (word.find(',') != std::string::npos) return EntryResult::HasComma;
    const std::string translation = NormaliseTranslation(typed);
    if (translation.empty()) return EntryResult::Cleared;
    // Cutting would lose what the user typed; the window says so instead.
    if (word.size() > kMaxWordChars || translation.size() > kMaxTranslationChars) return EntryResult::TooLong;

    if (const std::optional<std::int32_t> found = Find(word, Adding.sortedCount)) {
        // The record keeps its place and its deleted mark.
        SetWord(CurrentRecord, word);
        SetTranslation(CurrentRecord, translation);
        if (WriteWord(*found) != 0) return EntryResult::NotStored;
    } else {
        CurrentRecord = WordRecord{};
        SetWord(CurrentRecord, word);
        SetTranslation(CurrentRecord, translation);
        // A word the file did not take must not look stored: the window keeps it typed.
        if (WriteWord(WordCount) != 0) return EntryResult::NotStored;
        ++WordCount;
        AppendToJournal(*Adding.pair);
        AppendToList();
        ModifiedFlag = 1;
    }

    if (Adding.reverse) {
        SwitchStoreTo(*Adding.reverse);
        if (Adding.reverseSortedCount < 0) Adding.reverseSortedCount = WordCount;
        for (const std::string& piece : Pieces(translation)) AddReverseEntry(piece, word);
        SwitchStoreTo(*Adding.pair);
    }
    ++Adding.entries;
    return EntryResult::Stored;
}

void AddReverseEntry(const std::string& rawPiece, const std::string& word) {
    const std::string piece = TrimBlanks(rawPiece);
    if (piece.empty() || piece.size() > kMaxWordChars) return;
    const std::optional<std::int32_t> found = Find(piece, Adding.reverseSortedCount);
    if (!found) {
        CurrentRecord = WordRecord{};
        SetWord(CurrentRecord, piece);
        SetTranslation(CurrentRecord, word);
        if (WriteWord(WordCount) == 0) ++WordCount;
        Adding.reverseChanged = true;
        AppendToList();
        return;
    }
    // An entry without room for the word, or that lists it already, stays as it is.
    const std::string existing = CurrentRecord.translation;
    if (existing.size() + word.size() + 2 > kMaxTranslationChars) return;
    for (const std::string& listed : Pieces(existing))
        if (EqualsIgnoringAsciiCase(listed, word)) return;
    SetTranslation(CurrentRecord, existing.empty() ? word : existing + ", " + word);
    WriteWord(*found);
}
