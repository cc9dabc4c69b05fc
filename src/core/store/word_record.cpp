#include "core/store/word_record.h"

#include "core/text/fixed_text.h"

void TerminateFields(WordRecord& record) {
    record.word[kMaxWordChars] = '\0';
    record.translation[kMaxTranslationChars] = '\0';
}

void SetWord(WordRecord& record, std::string_view text) { CopyText(record.word, text); }

void SetTranslation(WordRecord& record, std::string_view text) { CopyText(record.translation, text); }
