#include "core/exchange/merge.h"

#include <algorithm>
#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/text/code_page.h"
#include "core/text/pieces.h"

namespace {

using Shown = ProblemText::Shown;
using ShownPiece = ProblemText::ShownPiece;

// Adds the pieces a record's translation does not list yet, as far as they fit, and
// returns how many; those without room go to `full`.
int MergePieces(WordRecord& record, const std::vector<std::string_view>& pieces, std::vector<std::string_view>* full) {
    char text[kMaxTranslationChars + 1];
    std::size_t length = std::strlen(record.translation);
    std::memcpy(text, record.translation, length);
    int added = 0;
    for (std::string_view piece : pieces) {
        const PieceAdded result = AddTranslationPiece(text, length, kMaxTranslationChars, piece);
        if (result == PieceAdded::Added) ++added;
        if (result == PieceAdded::NoRoom && full) full->push_back(piece);
    }
    if (added) SetTranslation(record, std::string_view(text, length));
    return added;
}

}  // namespace

Merger::Merger(ImportPlan& plan, bool utf8, ImportProbe* probe)
    : plan_(plan),
      report_(plan.report),
      probe_(probe),
      problem_(utf8, CodePageOfCharset(plan.pair->charset2)),
      forward_(plan.forward),
      backward_(plan.backward),
      one_(1) {}

void Merger::Expect(std::size_t count) {
    plan_.forward.reserve(plan_.forward.size() + count);
    // Each piece of a translation may become a word of the reverse pair, but room for
    // one per entry is what dictionaries need; more grows as it comes.
    plan_.backward.reserve(plan_.backward.size() + count);
    forward_.Reserve(count);
    backward_.Reserve(count);
    // A dictionary has a problem for every other entry, of some 80 bytes: room for a
    // line's worth for each entry covers that, up to a bound a 32-bit process can spare.
    const std::size_t problemLines = std::min<std::size_t>(count, std::size_t{1} << 20);
    report_.problems.Reserve(problemLines, problemLines * 64);
}

void Merger::Merge(const PreparedBatch& batch) {
    if (probe_) probe_->Merging();
    const std::string_view text = batch.text;
    const std::vector<PreparedBatch::Entry>& entries = batch.entries;
    std::uint32_t begin = 0, piecesBegin = 0;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const PreparedBatch::Entry& e = entries[k];
        Prefetch(batch, k + 8, false);
        Prefetch(batch, k + 4, true);
        line_ = e.line;
        fileWord_ = text.substr(begin, e.wordAt - begin);
        if (e.problemAt != e.end) report_.problems.Add(e.line, text.substr(e.problemAt, e.end - e.problemAt));
        if (e.merged) {
            pieces_.clear();
            for (std::uint32_t i = piecesBegin; i < e.piecesEnd; ++i)
                pieces_.push_back(text.substr(batch.pieces[i].at, batch.pieces[i].size));
            MergeEntry(text.substr(e.wordAt, e.translationAt - e.wordAt),
                       text.substr(e.translationAt, e.problemAt - e.translationAt));
        }
        begin = e.end;
        piecesBegin = e.piecesEnd;
    }
}

void Merger::MergeEntry(std::string_view word, std::string_view translation) {
    if (WordRecord* record = forward_.Find(word)) {
        full_.clear();
        const int added = MergePieces(*record, pieces_, &full_);
        for (std::string_view piece : full_)
            Problem(Shown{}, ": no room for ", ShownPiece{piece}, " in the word's translation");
        ++(added ? report_.merged : report_.unchanged);
        plan_.forwardChanged = plan_.forwardChanged || added > 0;
    } else {
        forward_.Add(word, translation);
        ++report_.added;
        plan_.forwardChanged = true;
    }
    if (plan_.reverse) MergeReverse(word);
}

void Merger::MergeReverse(std::string_view word) {
    one_[0] = word;
    for (std::string_view piece : pieces_) {
        if (piece.size() > kMaxWordChars) {
            Problem(Shown{}, ": ", ShownPiece{piece},
                    " has more than 30 characters, too many for a word of the reverse pair");
            ++report_.reverseSkipped;
            continue;
        }
        if (WordRecord* record = backward_.Find(piece)) {
            full_.clear();
            const int added = MergePieces(*record, one_, &full_);
            if (!full_.empty()) {
                Problem(Shown{}, ": no room in the reverse pair's translation of ", ShownPiece{piece});
                ++report_.reverseSkipped;
            }
            report_.reverseMerged += added;
            plan_.backwardChanged = plan_.backwardChanged || added > 0;
        } else {
            backward_.Add(piece, word);
            ++report_.reverseAdded;
            plan_.backwardChanged = true;
        }
    }
}
