// How the words of a pair compare: by a sort table of byte weights when the pair's
// first language has one, else by the case-insensitive locale collation.
#pragma once

#include "platform/message.h"
#include "store/catalogue.h"

// Weight of every byte value; 1 means ignored, 0 ends the text.
extern unsigned char SortTable[256];

// 1 when "tables\" + name + ".stb" can be opened for reading, else 0.
int HasSortTable(const char* languageName);
// Reads the current pair's sort table, when it has one.
void LoadSortTable();

int CollateCompare(const char* a, const char* b);
int TableCompare(const char* a, const char* b);

// The comparator of the current pair; searching and sorting both use this.
int CompareWords(const char* a, const char* b);

// Makes the pair's collation current. Refused locales are reported to `owner`.
void SetCollation(const WordListDescriptor& pair, MessageOwner owner);
