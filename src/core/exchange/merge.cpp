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

Merger::Turn PiecesOf(std::string_view translation) {
    Merger::Turn pieces;
    ForEachTranslationPiece(translation, [&](std::string_view piece) {
        pieces.emplace_back(piece);
        return false;
    });
    return pieces;
}

}  // namespace

int Merger::MergeSpelling(WordRecord& record, std::size_t at) {
    if (const auto shared = turns_.find(at); shared != turns_.end()) {
        shared->second.emplace_back(stored_.begin(), stored_.end());
        const int added = MergePieces(record, stored_, &full_);
        return full_.empty() ? added : TakeInTurns(record, shared->second);
    }
    const std::size_t k = at - firstNew_;
    if (k >= turnSizes_.size()) turnSizes_.resize(plan_.forward.size() - firstNew_);
    std::uint64_t& sizes = turnSizes_[k];
    if (sizes == 0) {
        std::uint64_t pieces = 0;
        ForEachTranslationPiece(record.translation, [&](std::string_view) { return ++pieces == 0xFF; });
        sizes = kOneTurn | pieces;
    }
    const unsigned turns = static_cast<unsigned>(sizes >> 56);
    const int added = MergePieces(record, stored_, &full_);
    if (full_.empty()) {
        // Past the seventh spelling, the last one's pieces count for the seventh's.
        const unsigned turn = std::min(turns, 6u);
        const std::uint64_t size = std::min<std::uint64_t>(((sizes >> (8 * turn)) & 0xFF) + added, 0xFF);
        sizes = (sizes & ~(std::uint64_t{0xFF} << (8 * turn))) | size << (8 * turn);
        if (turns < 7) sizes += kOneTurn;
        return added;
    }
    // The pieces the record held before this entry, split into the entries that gave them.
    const Turn held = PiecesOf(record.translation);
    const std::size_t before = held.size() - static_cast<std::size_t>(added);
    std::vector<Turn> split;
    for (std::size_t t = 0, from = 0; t < turns; ++t) {
        const std::size_t to =
            t + 1 == turns ? before
                           : std::min<std::size_t>(before, from + static_cast<std::size_t>((sizes >> (8 * t)) & 0xFF));
        split.emplace_back(held.begin() + static_cast<std::ptrdiff_t>(from),
                           held.begin() + static_cast<std::ptrdiff_t>(to));
        from = to;
    }
    split.emplace_back(stored_.begin(), stored_.end());
    const int taken = TakeInTurns(record, split);
    turns_.emplace(at, std::move(split));
    return taken;
}

int Merger::TakeInTurns(WordRecord& record, const std::vector<Turn>& turns) {
    const std::string before = record.translation;
    char text[kMaxTranslationChars + 1];
    std::size_t length = 0;
    int added = 0;
    full_.clear();
    for (std::size_t round = 0, left = turns.size(); left > 0; ++round) {
        left = 0;
        for (std::size_t t = 0; t < turns.size(); ++t) {
            if (round >= turns[t].size()) continue;
            ++left;
            const std::string_view piece = turns[t][round];
            const PieceAdded result = AddTranslationPiece(text, length, kMaxTranslationChars, piece);
            const bool current = t + 1 == turns.size();
            if (result == PieceAdded::Added && current && !TranslationLists(before, piece)) ++added;
            // Told once: for the entry being merged, or when an earlier spelling's piece gives way.
            if (result == PieceAdded::NoRoom && (current || TranslationLists(before, piece))) full_.push_back(piece);
        }
    }
    SetTranslation(record, std::string_view(text, length));
    return added;
}

Merger::Merger(ImportPlan& plan, bool utf8, ImportProbe* probe)
    : plan_(plan),
      report_(plan.report),
      probe_(probe),
      problem_(utf8, CodePageOfCharset(plan.pair->charset2)),
      forward_(plan.forward),
      backward_(plan.backward),
      firstNew_(plan.forward.size()),
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
        for (std::uint32_t at = e.problemAt; at != e.end;) {
            const std::uint32_t nul = static_cast<std::uint32_t>(text.find('\0', at));
            report_.problems.Add(e.line, text.substr(at, nul - at));
            at = nul + 1;
        }
        if (e.merged) {
            pieces_.clear();
            for (std::uint32_t i = piecesBegin; i < e.piecesEnd; ++i)
                pieces_.push_back(text.substr(batch.pieces[i].at, batch.pieces[i].size));
            MergeEntry(text.substr(e.wordAt, e.translationAt - e.wordAt),
                       text.substr(e.translationAt, e.translationEnd - e.translationAt), e.storedPieces);
        }
        begin = e.end;
        piecesBegin = e.piecesEnd;
    }
}

void Merger::MergeEntry(std::string_view word, std::string_view translation, std::size_t storedPieces) {
    if (WordRecord* record = forward_.Find(word)) {
        full_.clear();
        stored_.assign(pieces_.begin(), pieces_.begin() + static_cast<std::ptrdiff_t>(storedPieces));
        const std::size_t at = static_cast<std::size_t>(record - plan_.forward.data());
        // Another spelling of a word this import added shares its record.
        const int added = at >= firstNew_ ? MergeSpelling(*record, at) : MergePieces(*record, stored_, &full_);
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
