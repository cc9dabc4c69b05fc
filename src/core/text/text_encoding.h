// How another program's text file is encoded: the one rule the import and the reading aid
// both go by, so a file reads the same in either.
#pragma once

#include <string>
#include <string_view>

enum class TextEncoding {
    CodePage,    // the pair's own code page, as the export writes and older files are
    Utf8,        // UTF-8 without a byte-order mark, told by its lines
    MarkedUtf8,  // UTF-8 after its byte-order mark
    Utf16,       // UTF-16 after its byte-order mark, either byte order
};

struct FileText {
    TextEncoding encoding = TextEncoding::CodePage;
    std::string_view text;  // without a byte-order mark; UTF-8 unless in the code page
};

// A byte-order mark says UTF-16 or UTF-8; without one the text is UTF-8 when its lines
// with letters beyond ASCII are UTF-8 (MostlyUtf8), else the code page's. UTF-16 text is
// made UTF-8 in `decoded`, which the result then views.
FileText TellFileText(std::string_view bytes, std::string& decoded);

// Text with a UTF-16 byte-order mark as UTF-8; false for text without one. A surrogate
// without its other half, or a last odd byte, becomes U+FFFD, which no code page holds.
bool FromUtf16(std::string_view text, std::string& utf8);

// Whether text without a byte-order mark is UTF-8, by its lines: those with letters beyond
// ASCII that are valid UTF-8 against those that are not. A valid line counts one and a half
// times and a tie goes to UTF-8: valid sequences of several bytes almost never happen in
// code-page text, while a stray byte in a UTF-8 file is common. A letter pair or two in a
// code-page file that happen to be valid do not turn the rest.
bool MostlyUtf8(std::string_view text);

bool HasNonAscii(std::string_view text);
