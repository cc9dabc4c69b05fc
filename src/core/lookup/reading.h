// The reading aid: the word of a loaded text at the caret, cut out byte by byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The bytes that end a word: controls, blanks, digits and most punctuation; the
// apostrophe, the hyphen and every byte from 0x7B up (accented letters) belong to words.
bool IsWordSeparator(unsigned char byte);

constexpr std::size_t kMaxLookedUpChars = 99;

// The word around byte `caret` of `text`, at most its first 99 bytes; empty when the caret
// stands on a separator or past the text. Only the bytes of `text` are ever read.
std::string WordAt(std::string_view text, std::size_t caret);
