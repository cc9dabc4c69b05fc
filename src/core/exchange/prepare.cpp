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
    problemMessage_ = {};
    const bool merged = PrepareFields(entry);
    PreparedBatch::Entry e{};
    e.line = entry.line;
    e.merged = merged;
    std::string& text = batch.text;
    if (merged) text.append(entry.word);  // quoted by the merge's problems
    e.wordAt = static_cast<std::uint32_t>(text.size());
    if (merged) text.append(word_);
    e.translationAt = static_cast<std::uint32_t>(text.size());
    if (merged) {
        text.append(translation_);
        for (std::string_view piece : pieces_)
            batch.pieces.push_back({e.translationAt + static_cast<std::uint32_t>(piece.data() - translation_.data()),
                                    static_cast<std::uint32_t>(piece.size())});
    }
    e.problemAt = static_cast<std::uint32_t>(text.size());
    text.append(problemMessage_);
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
            Skip(entry, Shown{}, ": \"", MissingCharacter(word_, wordPage_), "\" is not in the code page of ",
                 LanguageNameUtf8(plan_.pair->name1));
            return false;
        }
        word_.swap(converted_);
        if (!translationWriter_.Convert(translation_, converted_)) {
            Skip(entry, Shown{}, ": \"", MissingCharacter(translation_, translationPage_),
                 "\" in the translation is not in the code page of ", LanguageNameUtf8(plan_.pair->name2));
            return false;
        }
        translation_.swap(converted_);
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
    return translation_.size() <= kMaxTranslationChars || CutTranslation(entry);
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
    pieces_.resize(kept);
    translation_.resize(length);
    return true;
}
