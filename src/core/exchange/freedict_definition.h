// The definitions of dictd's dictionaries: a headword and its translations, without the
// notes, sense numbers and pronunciations around them, however the dictionary lays them out.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

// A line without its break (LF, or CR LF, as LineAt takes them), and where its first three
// tabs are (npos for those it lacks), found in one pass: a search call per field of the
// index, each a call of the C runtime's, was a good part of reading a dictionary.
struct TabbedLine {
    std::string_view text;
    std::size_t next;  // where the next line starts
    std::size_t tabs[3];
};
TabbedLine TabbedLineAt(std::string_view text, std::size_t at);

// How a dictionary's definitions are laid out.
enum class Layout {
    Classic,  // translations flush left; examples, synonyms and notes indented
    // Built from Wiktionary: each sense's translations ("1. arracher") and then lines in the
    // headword's own language that define it, flush left as well.
    Wiktionary,
    Literal,  // our own export: the word and its translations as they stand
};

// A line of translations without its grammar marks ("<adj>", "[chem.]", "{pl}"), which
// are notes, not translations, however they nest ("[[a|b[s]]]"). A bracket without its
// pair is dropped and the text around it kept; false when the line had one.
class NoteStripper {
public:
    // Appended to `translation` after ", ", trimmed; nothing when nothing is left.
    bool Append(std::string_view line, std::string& translation) {
        const std::size_t before = translation.size();
        if (before) translation += ", ";
        const std::size_t start = translation.size();
        paired_ = true;
        Strip(line, translation, start);
        while (translation.size() > start && translation.back() == ' ') translation.pop_back();
        if (translation.size() == start) translation.resize(before);
        return paired_;
    }

private:
    static char Closing(char c) { return c == '<' ? '>' : c == '[' ? ']' : c == '{' ? '}' : 0; }
    static bool IsClosing(char c) { return c == '>' || c == ']' || c == '}'; }

    // The text outside notes into `out`. A closing bracket closes the nearest open one of
    // its kind (those opened within it go with it); one that closes none is dropped. Those
    // left open at the end are dropped, and the text between them read again: nothing in
    // it closed a bracket opened before it, so it is read once more at most.
    void Strip(std::string_view line, std::string& out, std::size_t start) {
        depth_ = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (const char closing = Closing(c)) {
                if (depth_ < kDeepest)
                    open_[depth_++] = {closing, i, out.size()};
                else
                    paired_ = false;  // deeper than any note: dropped as unpaired
                continue;
            }
            if (IsClosing(c)) {
                std::size_t k = depth_;
                while (k > 0 && open_[k - 1].closing != c) --k;
                if (k == 0)
                    paired_ = false;
                else
                    depth_ = k - 1;
                continue;
            }
            if (depth_ == 0 && (c != ' ' || out.size() > start)) out += c;
        }
        if (depth_ == 0) return;
        paired_ = false;
        const std::size_t left = depth_;
        Open unpaired[kDeepest];
        std::copy(open_, open_ + left, unpaired);
        out.resize(unpaired[0].kept);
        for (std::size_t k = 0; k < left; ++k) {
            const std::size_t from = unpaired[k].at + 1, to = k + 1 < left ? unpaired[k + 1].at : line.size();
            Strip(line.substr(from, to - from), out, start);
        }
    }

    static constexpr std::size_t kDeepest = 32;
    struct Open {
        char closing;
        std::size_t at;    // in the line
        std::size_t kept;  // the text's size when it opened
    };
    Open open_[kDeepest];
    std::size_t depth_ = 0;
    bool paired_ = true;
};

// The room ParseDefinition uses, kept by the caller so that a dictionary's entries share it.
struct ParseRoom {
    std::string text, linked;
    NoteStripper notes;
};

// A definition: the headword (and its pronunciation between slashes) on the first line,
// then the translations as the layout has them. False when a bracket of a note had no pair
// (and was dropped).
bool ParseDefinition(std::string_view definition, Layout layout, std::string& word, std::string& translation,
                     ParseRoom& room);
