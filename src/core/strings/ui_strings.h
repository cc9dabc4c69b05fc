// The interface texts: one scrambled strings file per interface language, chosen by
// language.ini, loaded whole at start-up and looked up once per key.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/strings/ui_keys.h"

// The 29 scrambling bytes followed by a terminating zero. Made at run time so the
// key never stands as one string in the program file.
std::array<unsigned char, 30> ScramblingKey();

// plain = stored - K[p mod n] and its inverse, p counting from the first byte of the
// data and n being the key's length up to its first zero byte.
void Descramble(unsigned char* data, std::size_t size, const unsigned char* key);
void Scramble(unsigned char* data, std::size_t size, const unsigned char* key);

// Finds the value of `key` among the zero-terminated entries of a descrambled image
// (which must be followed by a zero byte): the first entry that starts with key + "="
// (letters A-Z in any case) wins. Entries end at the first empty one or the data's end.
const char* FindUiEntry(const char* image, std::size_t size, const char* key);

enum class UiLoadStatus { Loaded, NoFile, MissingKey };

struct UiLoadResult {
    UiLoadStatus status = UiLoadStatus::Loaded;
    UiKey missingKey = UiKey::Count;
};

// Takes a descrambled image as the table and fills every slot in load order, stopping
// at the first missing key. On failure the table stays empty.
UiLoadResult InstallUiStrings(std::vector<char> image);

// Reads language.ini and the strings file of the working directory.
UiLoadResult LoadUiStringsFromWorkingDirectory();

// As above; on failure shows the fixed message and ends the process with exit code 1.
void LoadUiStrings();

// The text of a key of the loaded table.
const char* Ui(UiKey key);

// Looks a key up in the loaded image; a missing key ends the process like at start-up.
const char* UiText(const char* key);

// A text that strings files may lack (added after their keys were fixed): the file's text
// when it has the key, else the built-in one.
const char* UiTextOr(const char* key, const char* builtIn);

void FreeUiStrings();
bool UiStringsLoaded();

// A numeric text (CharactersetCode, IniSelectedLen) as its leading decimal digits, 0 without any.
int UiNumber(UiKey key);
