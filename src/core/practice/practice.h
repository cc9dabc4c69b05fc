// A practice run over the current list: the order the words come in, the answer rule and
// the best score kept beside the list file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/lists/random_selection.h"

// The list's records not yet asked; each draw takes one of them and swaps the last into
// its place, so every record comes exactly once, in random order.
class PracticePool {
public:
    explicit PracticePool(std::int32_t count);
    // The next record's index; -1 once every record was drawn.
    std::int32_t Draw(std::uint32_t random);
    std::int32_t remaining() const { return remaining_; }

private:
    std::vector<std::int32_t> pool_;
    std::int32_t remaining_;
};

// Draws the next record of the current list into CurrentRecord; its index, or -1 when
// the pool is empty or the record cannot be read (CurrentRecord is then as it was).
std::int32_t PickRandomEntry(PracticePool& pool, const DrawSource& draw = StandardDraw);

// What is checked of a typed answer: its first comma-separated piece, trimmed of blanks;
// empty when there is none.
std::string AnswerToken(const std::string& typed);
// Right when the token is one of the translation's pieces, the letters A-Z without regard
// to case and every other character exactly.
bool AnswerIsRight(const std::string& token, const std::string& translation);

struct Score {
    std::int32_t skipped = 0, errors = 0;
};

// The list file's path with ".ls" at its end replaced by ".score"; none without a list.
std::optional<std::string> ScoreFilePath();
// The stored best: two lines, each read for its leading number (at most 18 characters of
// it). A missing file, a missing line or a negative number is no score.
std::optional<Score> ReadScore(const std::string& path);
// A finished run replaces the best with fewer skipped, or as many skipped and fewer errors.
bool BeatsStoredScore(const Score& run, const std::optional<Score>& stored);
// Writes the score file in one step; 0, or -1 with the old file left whole.
int WriteScore(const std::string& path, const Score& score);
