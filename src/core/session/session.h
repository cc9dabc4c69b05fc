// The current pair's files opened as one: the word file, then the practice-list file.
// This sequence sits above the store and the list storage, so neither calls the other.
#pragma once

struct WordListDescriptor;

// Opens the word file (or shows "Can't open ..." and ends the process), then the
// current list's file, whatever becomes of that.
int OpenStore();
// Closes, opens and counts both files again, after a file was replaced or the pair changed.
void ReopenStore();
// Makes CurrentPair's collation current, saves it as the selected pair and reopens the
// store. 0, or -1 when the selection could not be saved (the switch happens all the same).
int SelectPair();
// Makes `pair` current with its collation (no locale message) and reopens the store on it,
// without saving it as the selection: a window's brief visit to another pair.
void SwitchStoreTo(WordListDescriptor& pair);
// The same when `pair`'s word file opens; otherwise the store goes back to the pair that
// was current, and -1.
int TrySwitchStoreTo(WordListDescriptor& pair);
// Builds the catalogue again (after a language was added), keeping the current pair by its
// word file. 0, or -1 when the catalogue could not be read (the one in use stays).
int ReloadCatalogue();
