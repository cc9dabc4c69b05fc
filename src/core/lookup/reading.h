// The reading aid: a loaded file's text in the pair's code page, and the word of it at the
// caret, cut out byte by byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/text_encoding.h"

// The bytes that end a word: controls, blanks, digits and most punctuation; the
// apostrophe, the hyphen and every byte from 0x7B up (accented letters) belong to words.
bool IsWordSeparator(unsigned char byte);

constexpr std::size_t kMaxLookedUpChars = 99;

// The word around byte `caret` of `text`, at most its first 99 bytes; empty when the caret
// stands on a separator or past the text. Only the bytes of `text` are ever read.
std::string WordAt(std::string_view text, std::size_t caret);
// Every word of `text` in order, each as WordAt gives it.
std::vector<std::string> WordsOf(std::string_view text);
// The word `text` holds when it holds one and nothing but separators around it (a word
// copied with its comma or line end); empty otherwise.
std::string SingleWord(std::string_view text);

// A message names this many of the letters a code page lacks; a text in another script
// would otherwise fill the screen with them.
constexpr std::size_t kMaxNamedReplacements = 20;

struct ReadingText {
    TextEncoding encoding = TextEncoding::CodePage;
    // In the code page, as the text box shows it and words are looked up: one character for
    // each of the file's (after accents are composed), so the box's positions map onto it as
    // onto any code-page text.
    std::string text;
    // The first letters, each once and in UTF-8, that the code page has no place for; each
    // stands as "?" in `text`. `replacedCount` counts them all.
    std::vector<std::string> replaced;
    std::size_t replacedCount = 0;
};

// A file's text as the import tells its encoding (TellFileText). Code-page text is taken
// byte for byte; Unicode text is converted to `codePage`, its combining accents composed
// with their letters first, and a byte that is no UTF-8 taken as the code page's own, as
// in a file that mixes the two.
ReadingText ReadingTextOf(std::string_view file, unsigned codePage);
