// Adding words: each confirmed entry is stored in the current pair's word file and its
// translations feed the reverse pair, as new headwords or merged into existing ones.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct WordListDescriptor;

// Removes the blank character (only) from both ends.
std::string TrimBlanks(std::string_view text);
// The pieces between commas, each trimmed, empty ones dropped, joined by ", ". The result
// may be longer than a record's translation holds.
std::string NormaliseTranslation(std::string_view text);
// The same into `out`, whose buffer is kept (imports normalise a dictionary's entries).
void NormaliseTranslation(std::string_view text, std::string& out);

// What the add window knows of its visit beyond its controls.
struct AddingState {
    WordListDescriptor* pair = nullptr;     // the window's own pair
    WordListDescriptor* reverse = nullptr;  // its reverse, when the catalogue has one
    std::int32_t sortedCount = 0;           // the records sorted when the window opened: the search limit
    std::int32_t reverseSortedCount = -1;   // the same for the reverse pair, from the first switch to it
    bool reverseChanged = false;            // records were appended to the reverse word file
    int entries = 0;
    // Of the last entry stored: its translations the reverse pair did not take, being longer
    // than a word there or finding no room in the translation of the word they already are.
    std::vector<std::string> reverseLeftOut;
};

extern AddingState Adding;

// At the window's opening: the counts, the flags (ModifiedFlag stands for the forward
// word file), the reverse pair, and the journal's directory.
void BeginAdding();

// The translation of a typed word among the records sorted when the window opened; none
// when it is not there (words added since are never found).
std::optional<std::string> PreviewTranslation(const std::string& word);

enum class EntryResult {
    Ignored,           // an empty word or translation: nothing happens
    Cleared,           // the translation holds nothing but commas and blanks: the fields are cleared
    TooLong,           // a field does not fit its record field once normalised: stored nowhere
    HasComma,          // a comma in the word
    NotStored,         // the word file could not be written: nothing was stored
    ReverseNotStored,  // the reverse word file could not be opened or written: stored in neither
    Stored,
};

// Confirms the entry of the two fields as typed: stores or updates the word (a word marked
// deleted comes back with what was typed), adds or merges the reverse entries, and then
// appends new words to the journal and, when AddNewWordsToList is 1, to the current lists.
// The entry lands in both word files or in neither. The window's pair is current again
// afterwards.
EntryResult ConfirmEntry(const std::string& wordField, const std::string& translationField);
