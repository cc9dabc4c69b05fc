#include "core/exchange/prepare.h"

#include "core/catalogue/catalogue.h"
#include "core/editing/add_words.h"
#include "core/exchange/format_helpers.h"
#include "core/text/code_page.h"
#include "core/text/pieces.h"

namespace {

using Shown = ProblemText::Shown;

}  // namespace

Preparer::Preparer(const ImportPlan& plan, bool utf8)
    : plan_(plan),
      utf8_(utf8),
      wordPage_(CodePageOfCharset(plan.pair->charset1)),
      translationPage_(CodePageOfCharset(plan.pair->charset2)),
      wordWriter_(wordPage_),
      translationWriter_(translationPage_),
      problem_(utf8, translationPage_) {}

void Preparer::Prepare(const ForeignEntry& entry, PreparedBatch& batch) {
    problems_.clear();
    const bool merged = PrepareFields(entry);
    PreparedBatch::Entry e{};
    e.line = entry.line;
    e.merged = merged;
    std::string& text = batch.text;
    if (merged) text.append(entry.word);  // quoted by the merge's problems
    e.wordAt = static_cast<std::uint32_t>(text.size());
    if (merged) text.append(word_);
    e.translationAt = static_cast<std::uint32_t>(text.size());
    e.translationEnd = e.translationAt;
    if (merged) {
        text.append(translation_);
        e.translationEnd += static_cast<std::uint32_t>(storedSize_);
        for (std::string_view piece : pieces_)
            batch.pieces.push_back({e.translationAt + static_cast<std::uint32_t>(piece.data() - translation_.data()),
                                    static_cast<std::uint32_t>(piece.size())});
        e.storedPieces = static_cast<std::uint32_t>(storedPieces_);
    }
    e.problemAt = static_cast<std::uint32_t>(text.size());
    text.append(problems_);
    e.end = static_cast<std::uint32_t>(text.size());
    e.piecesEnd = static_cast<std::uint32_t>(batch.pieces.size());
    batch.entries.push_back(e);
}

bool Preparer::PrepareFields(const ForeignEntry& entry) {
    if (!entry.refused.empty()) {
        Skip(entry, entry.refused);
        return false;
    }
    // A NUL would end the stored word early and the report's text at it.
    if (Holds(entry.word, '\0') || Holds(entry.translation, '\0')) {
        Skip(entry, "a NUL byte in the ", (Holds(entry.word, '\0') ? "word" : "translation"));
        return false;
    }
    StoredFieldText(utf8_ ? CodePageSpelling(entry.word, spelt_) : entry.word, false, word_);
    StoredFieldText(utf8_ ? CodePageSpelling(entry.translation, spelt_) : entry.translation, true, converted_);
    NormaliseTranslation(converted_, translation_);
    if (word_.empty()) {
        Skip(entry, "the word is empty");
        return false;
    }
    if (translation_.empty()) {
        Skip(entry, Shown{}, ": the translation is empty");
        return false;
    }
    if (Holds(word_, ',')) {
        Skip(entry, Shown{}, ": a comma in the word");
        return false;
    }
    if (utf8_) {
        if (!wordWriter_.Convert(word_, converted_)) {
            const std::string missing = MissingCharacter(word_, wordPage_);
            Skip(entry, Shown{}, ": \"", missing, "\" is not in the code page of ",
                 LanguageNameUtf8(plan_.pair->name1));
            ++wordMisfits.skipped;
            if (wordMisfits.letter.empty()) wordMisfits.letter = missing;
            return false;
        }
        word_.swap(converted_);
        if (!ConvertTranslation(entry)) return false;
    }
    if (word_.size() > kMaxWordChars) {
        Skip(entry, Shown{}, ": the word has more than 30 characters");
        return false;
    }
    // Normalised, the translation holds its pieces joined by ", ", as the cut counts.
    pieces_.clear();
    ForEachTranslationPiece(translation_, [&](std::string_view piece) {
        pieces_.push_back(piece);
        return false;
    });
    storedSize_ = translation_.size();
    storedPieces_ = pieces_.size();
    if (!entry.remark.empty()) Problem(entry, Shown{}, ": ", entry.remark);
    return translation_.size() <= kMaxTranslationChars || CutTranslation(entry);
}

bool Preparer::ConvertTranslation(const ForeignEntry& entry) {
    if (translationWriter_.Convert(translation_, converted_)) {
        translation_.swap(converted_);
        return true;
    }
    // Each piece that fits is kept: a word of another alphabet costs the entry no more.
    std::string kept;
    std::vector<std::pair<std::string_view, std::string>> left;  // with the first letter missing
    ForEachTranslationPiece(translation_, [&](std::string_view piece) {
        piece_.assign(piece);
        if (translationWriter_.Convert(piece_, converted_)) {
            if (!kept.empty()) kept += ", ";
            kept += converted_;
        } else {
            left.emplace_back(piece, MissingCharacter(piece_, translationPage_));
        }
        return false;
    });
    const std::string language = LanguageNameUtf8(plan_.pair->name2);
    if (translationMisfits.letter.empty()) translationMisfits.letter = left.front().second;
    if (kept.empty()) {
        Skip(entry, Shown{}, ": \"", left.front().second, "\" in the translation is not in the code page of ",
             language);
        ++translationMisfits.skipped;
        return false;
    }
    for (const auto& [piece, missing] : left)
        Problem(entry, Shown{}, ": ", Quoted(piece, true), " is left out of the translation: \"", missing,
                "\" is not in the code page of ", language);
    partsLeftOut += static_cast<int>(left.size());
    translation_.swap(kept);
    return true;
}

bool Preparer::CutTranslation(const ForeignEntry& entry) {
    std::size_t kept = 0, length = 0;
    while (kept < pieces_.size() && length + (kept ? 2 : 0) + pieces_[kept].size() <= kMaxTranslationChars) {
        length += (kept ? 2 : 0) + pieces_[kept].size();
        ++kept;
    }
    if (kept == 0) {
        Skip(entry, Shown{}, ": the translation has more than 50 characters, even its first part");
        return false;
    }
    Problem(entry, Shown{}, ": the translation has more than 50 characters; kept its first ", std::to_string(kept),
            " of ", std::to_string(pieces_.size()), " parts");
    partsLeftOut += static_cast<int>(pieces_.size() - kept);
    storedPieces_ = kept;
    storedSize_ = length;
    return true;
}
