#include "core/practice/practice.h"

#include <cstdio>

#include "core/lists/list_storage.h"
#include "core/store/store.h"
#include "core/text/pieces.h"
#include "platform/file_writes.h"
#include "platform/platform.h"
#include "platform/profile_text.h"
#include "platform/replace_file.h"

PracticePool::PracticePool(std::int32_t count) : remaining_(count > 0 ? count : 0) {
    pool_.resize(static_cast<std::size_t>(remaining_));
    for (std::int32_t i = 0; i < remaining_; ++i) pool_[static_cast<std::size_t>(i)] = i;
}

std::int32_t PracticePool::Draw(std::uint32_t random) {
    if (remaining_ == 0) return -1;
    const std::size_t k = random % static_cast<std::uint32_t>(remaining_);
    const std::int32_t drawn = pool_[k];
    pool_[k] = pool_[static_cast<std::size_t>(--remaining_)];
    return drawn;
}

std::int32_t PickRandomEntry(PracticePool& pool, const DrawSource& draw) {
    const std::int32_t index = pool.Draw(draw());
    return index >= 0 && ReadListEntry(index) == 0 ? index : -1;
}

std::string AnswerToken(const std::string& typed) {
    std::string token;
    ForEachTranslationPiece(
        typed,
        [&](std::string_view piece) {
            token = piece;
            return true;
        },
        BlankPieces::KeptEmpty);
    return token;
}

// No piece is empty, so an empty token is never right.
bool AnswerIsRight(const std::string& token, const std::string& translation) {
    return TranslationLists(translation, token);
}

std::optional<std::string> ScoreFilePath() {
    std::optional<std::string> path = CurrentListPath();
    const std::string extension = ".ls";
    if (!path || path->size() < extension.size() || path->compare(path->size() - 3, 3, extension) != 0)
        return std::nullopt;
    return path->substr(0, path->size() - 3) + ".score";
}

namespace {

// The first `keep` characters of the next line, however long it is; false at the end.
bool ReadLineStart(FILE* in, std::string& line, std::size_t keep) {
    line.clear();
    int c = std::fgetc(in);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = std::fgetc(in))
        if (line.size() < keep) line.push_back(static_cast<char>(c));
    return true;
}

}  // namespace

std::optional<Score> ReadScore(const std::string& path) {
    FILE* in = platform::OpenFile(path, "rb");
    if (!in) return std::nullopt;
    std::string lines[2];
    bool complete = true;
    for (std::string& line : lines) complete = complete && ReadLineStart(in, line, 18);
    std::fclose(in);
    if (!complete) return std::nullopt;
    const int skipped = ProfileTextToInt(lines[0]);
    const int errors = ProfileTextToInt(lines[1]);
    // A negative best could never be beaten: a damaged file must not lock the list.
    if (skipped < 0 || errors < 0) return std::nullopt;
    return Score{skipped, errors};
}

bool BeatsStoredScore(const Score& run, const std::optional<Score>& stored) {
    if (!stored) return true;
    return run.skipped < stored->skipped || (run.skipped == stored->skipped && run.errors < stored->errors);
}

int WriteScore(const std::string& path, const Score& score) {
    char text[48];
    const int n = std::snprintf(text, sizeof text, "%ld\r\n%ld\r\n", static_cast<long>(score.skipped),
                                static_cast<long>(score.errors));
    return platform::ReplaceFile(path, path + ".tmp", [&](FILE* out) {
        return n > 0 && platform::WriteBytes(out, text, static_cast<std::size_t>(n));
    });
}
