// The Windows code page of a font character set: the bytes of a pair's words are text in
// the code page of the language's character set.
#pragma once

// 1252 for the ANSI set and for any set without a code page of its own.
unsigned CodePageOfCharset(int charset);
