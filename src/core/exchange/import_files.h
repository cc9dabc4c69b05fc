// The files an import reads and an export writes over: the pair's word files, and the
// other program's files, each read whole within the import's bound.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/exchange/exchange.h"
#include "core/exchange/unpacking.h"
#include "platform/file_view.h"

// The live records of a word file, and its bytes; a file that is not there has none.
bool LoadWordFile(const WordListDescriptor& pair, std::vector<WordRecord>& records, std::string& bytes,
                  std::string& error);

// A dictionary's index, and its definitions, which lie beside it compressed or not, being
// unpacked.
bool ReadDictionaryFiles(const std::string& path, const ImportOptions& options, platform::FileView& index,
                         std::optional<UnpackingText>& dict, std::string& error);

// The entries of the files that are read whole before the plan takes them: a dictionary's
// go into the plan as they are read.
bool ReadForeignFile(const std::string& path, ExchangeFormat format, const ImportOptions& options,
                     const WordListDescriptor& pair, ForeignFile& file, std::string& error);

// The format given, or the one the file's name and first bytes tell; none with a message.
std::optional<ExchangeFormat> FormatFor(const std::string& path, std::optional<ExchangeFormat> format,
                                        const std::string& head, std::string& error);

// False, with the message that there was not enough memory to do `what` and so nothing
// was changed.
bool OutOfMemory(std::string& error, const std::string& what);
