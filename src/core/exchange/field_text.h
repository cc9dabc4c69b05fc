// Other programs' fields as a pair stores them, and as the import's report quotes them.
#pragma once

#include <string>
#include <string_view>

// A field in quotes for the report, cut after 80 characters (of UTF-8 text, or bytes of a
// code page's): enough to find the line, while a line of 200 MB would otherwise make a
// report, and a confirmation box, of 200 MB.
void AppendQuoted(std::string& out, std::string_view text, bool utf8);
std::string Quoted(std::string_view text, bool utf8);

// What another program's field becomes before it is stored: runs of white space as one
// blank in a word; line breaks as commas (one translation each) in a translation.
void StoredFieldText(std::string_view text, bool translation, std::string& out);

// Other programs' text as the code pages spell it: accents composed with their letters,
// the Dutch ligature "ĳ" as the two letters it stands for, and the typographic hyphens and
// dashes (U+2010 to U+2015) and the minus sign as the hyphen a keyboard types, so that a
// word can be looked up and answered as typed. `text` itself when nothing changes, as for
// most words, which hold no letter beyond U+00FF (no lead byte from 0xC4 on); else `spelt`.
const std::string& CodePageSpelling(const std::string& text, std::string& spelt);

// The first character of UTF-8 text that the code page lacks, for the report.
std::string MissingCharacter(std::string_view utf8, unsigned codePage);

// A stored word or translation in UTF-8; false when the code page cannot be converted.
bool ToUtf8(const char* text, unsigned codePage, std::string& out);

// A problem's message, made of its parts in one buffer. `Shown` stands for the entry's
// word as the report quotes it, `ShownPiece` for a piece of the stored translation, in the
// file's encoding as the rest of the report.
class ProblemText {
public:
    struct Shown {};
    struct ShownPiece {
        std::string_view piece;
    };
    ProblemText(bool utf8, unsigned translationPage) : utf8_(utf8), translationPage_(translationPage) {}

    template <typename... Parts>
    std::string_view Make(std::string_view word, const Parts&... parts) {
        message_.clear();
        (Append(word, parts), ...);
        return message_;
    }

private:
    void Append(std::string_view word, Shown);
    void Append(std::string_view, ShownPiece shown);
    void Append(std::string_view, std::string_view text) { message_.append(text); }
    void Append(std::string_view, const std::string& text) { message_.append(text); }
    void Append(std::string_view, const char* text) { message_.append(text); }

    const bool utf8_;
    const unsigned translationPage_;
    std::string message_, quoted_;
};
