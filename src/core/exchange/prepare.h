// The first half of planning an import: each entry's fields as the pair stores them and
// the pieces of its translation, or the reason it is skipped. Touches nothing of the plan,
// so it runs beside the merge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/code_page_writer.h"
#include "core/exchange/exchange.h"
#include "core/exchange/field_text.h"

// Entries prepared for the merge, a few thousand at a time: handed from one thread to
// another one by one, they would cost more in the hand-over than in the merge. Each
// entry's texts lie one after another in `text`.
constexpr std::size_t kBatchEntries = 4096;
struct PreparedBatch {
    PreparedBatch() { entries.reserve(kBatchEntries); }
    struct Entry {
        int line;
        bool merged;                   // false: skipped
        std::uint32_t wordAt;          // its word as stored; before it, the file's word, for the merge's problems
        std::uint32_t translationAt;   // its translation as stored
        std::uint32_t translationEnd;  // up to here; all its pieces, some past the end, up to problemAt
        std::uint32_t problemAt, end;  // the problems found in preparing it, each ended by a NUL
        std::uint32_t piecesEnd;       // its pieces run from the previous entry's end to here
        std::uint32_t storedPieces;    // the first of them are those of the stored translation
    };
    struct Piece {
        std::uint32_t at, size;  // in `text`
    };
    void Clear() {
        text.clear();
        entries.clear();
        pieces.clear();
    }
    std::string text;
    std::vector<Entry> entries;
    std::vector<Piece> pieces;
};

class Preparer {
public:
    Preparer(const ImportPlan& plan, bool utf8);

    // The entry into the batch, with its problems.
    void Prepare(const ForeignEntry& entry, PreparedBatch& batch);

    int skipped = 0;
    int partsLeftOut = 0;  // of translations, for their letters or their length
    // Of each side, the entries skipped for a letter its code page lacks and the first such
    // letter: when they are most of a file, the file is in another alphabet.
    struct Misfits {
        int skipped = 0;
        std::string letter;
    } wordMisfits, translationMisfits;

private:
    template <typename... Parts>
    void Problem(const ForeignEntry& entry, const Parts&... parts) {
        problems_.append(problem_.Make(entry.word, parts...));
        problems_ += '\0';
    }
    template <typename... Parts>
    void Skip(const ForeignEntry& entry, const Parts&... parts) {
        Problem(entry, parts...);
        ++skipped;
    }
    // The entry's word and the pieces of its translation as the pair stores them, into
    // word_, translation_ and pieces_; false when it is skipped.
    bool PrepareFields(const ForeignEntry& entry);
    // The translation in the pair's code page, without the pieces that hold a letter it
    // lacks; false when none is left.
    bool ConvertTranslation(const ForeignEntry& entry);
    // A translation longer than a record holds kept up to the last whole piece that fits;
    // false when not even its first does. The reverse pair still gets every piece.
    bool CutTranslation(const ForeignEntry& entry);

    const ImportPlan& plan_;
    const bool utf8_;
    const unsigned wordPage_, translationPage_;
    const CodePageWriter wordWriter_, translationWriter_;
    ProblemText problem_;
    std::string problems_;
    std::string word_, translation_, converted_, spelt_, piece_;
    std::vector<std::string_view> pieces_;
    std::size_t storedSize_ = 0, storedPieces_ = 0;  // of the translation as stored
};
