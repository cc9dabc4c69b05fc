// The second half of planning an import: the prepared entries into the pair's word file
// and the reverse pair's, and their problems into the report in line order (those of
// preparing an entry before those of merging it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/exchange/exchange.h"
#include "core/exchange/field_text.h"
#include "core/exchange/prepare.h"
#include "core/exchange/word_table.h"

class ImportProbe;

class Merger {
public:
    using Turn = std::vector<std::string>;  // the pieces one entry gave a word

    Merger(ImportPlan& plan, bool utf8, ImportProbe* probe);

    // Room for `count` entries to come.
    void Expect(std::size_t count);
    void Merge(const PreparedBatch& batch);

private:
    // The words of an entry a few ahead, looked for in the cache's good time.
    [[gnu::always_inline]] void Prefetch(const PreparedBatch& batch, std::size_t k, bool record) const {
        if (k >= batch.entries.size() || !batch.entries[k].merged) return;
        const PreparedBatch::Entry& e = batch.entries[k];
        const std::string_view text = batch.text;
        forward_.Prefetch(text.substr(e.wordAt, e.translationAt - e.wordAt), record);
        for (std::uint32_t i = k ? batch.entries[k - 1].piecesEnd : 0; plan_.reverse && i < e.piecesEnd; ++i)
            backward_.Prefetch(text.substr(batch.pieces[i].at, batch.pieces[i].size), record);
    }
    template <typename... Parts>
    void Problem(const Parts&... parts) {
        report_.problems.Add(line_, problem_.Make(fileWord_, parts...));
    }
    // The prepared word into the pair's word file with the first `storedPieces` pieces of its
    // translation, and each piece into the reverse pair's, where it becomes a word or lists
    // this word.
    void MergeEntry(std::string_view word, std::string_view translation, std::size_t storedPieces);
    void MergeReverse(std::string_view word);
    // The prepared pieces into a record this import added, shared in turns with the other
    // spellings that met it when they do not all fit; how many are new.
    int MergeSpelling(WordRecord& record, std::size_t at);
    // A word's translation made again from its spellings' pieces in turns, as far as they fit,
    // so that each keeps its first meaning; the pieces left out into full_, and how many of
    // the last spelling's are new.
    int TakeInTurns(WordRecord& record, const std::vector<Turn>& turns);

    ImportPlan& plan_;
    ImportReport& report_;
    ImportProbe* const probe_;
    ProblemText problem_;
    WordTable forward_, backward_;
    const std::size_t firstNew_;  // the first record this import adds to the pair
    // Of each record this import adds, how many pieces each entry that met it gave, a byte an
    // entry, and the entries' count in the top byte: enough to share the record in turns
    // should one entry's pieces not fit. Those that had to keep their turns whole.
    static constexpr std::uint64_t kOneTurn = std::uint64_t{1} << 56;
    std::vector<std::uint64_t> turnSizes_;
    std::unordered_map<std::size_t, std::vector<Turn>> turns_;
    int line_ = 0;
    std::string_view fileWord_;
    std::vector<std::string_view> pieces_, stored_, full_, one_;
};
