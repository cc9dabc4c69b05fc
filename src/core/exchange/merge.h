// The second half of planning an import: the prepared entries into the pair's word file
// and the reverse pair's, and their problems into the report in line order (those of
// preparing an entry before those of merging it).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/exchange/exchange.h"
#include "core/exchange/field_text.h"
#include "core/exchange/prepare.h"
#include "core/exchange/word_table.h"

class ImportProbe;

class Merger {
public:
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
    // The prepared word into the pair's word file, and each piece of its translation into
    // the reverse pair's, where it becomes a word or lists this word.
    void MergeEntry(std::string_view word, std::string_view translation);
    void MergeReverse(std::string_view word);

    ImportPlan& plan_;
    ImportReport& report_;
    ImportProbe* const probe_;
    ProblemText problem_;
    WordTable forward_, backward_;
    int line_ = 0;
    std::string_view fileWord_;
    std::vector<std::string_view> pieces_, full_, one_;
};
