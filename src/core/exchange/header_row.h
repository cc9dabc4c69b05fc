// A first row of column titles in a spreadsheet's file ("english;german") is no entry.
#pragma once

#include "core/exchange/exchange.h"

// Titles naming the pair's languages take the row out; the other way round they turn the
// columns too; titles naming two other languages of the catalogue refuse the row, since
// the file is then likely meant for another pair. What was found goes to the report.
void TakeHeaderRow(ForeignFile& file, const WordListDescriptor& pair, ImportReport& report);
