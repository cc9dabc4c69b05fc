// One review run: the queue asked in order, the rating each word earns from its first
// answer, and the words rated Again asked once more a little later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace review {

// A word rated Again comes back after this many other words.
constexpr std::size_t kAgainGap = 3;

// What a run has done so far, for its summary: the words it is through with (each answered
// right in the end), those of them right at their first answer, and those that were new.
struct RunTally {
    std::int32_t reviewed = 0, rightAtOnce = 0, newLearnt = 0;
};

class ReviewRun {
public:
    // The due words, then the new ones (never reviewed), asked in that order.
    explicit ReviewRun(const std::vector<std::string>& due, const std::vector<std::string>& fresh = {});

    // The word being asked; none when the run is over.
    const std::string* Current() const { return items_.empty() ? nullptr : &items_.front().word; }
    std::size_t remaining() const { return items_.size(); }
    bool shown() const { return !items_.empty() && items_.front().shown; }

    // A checked answer. A wrong one keeps the word; a right one ends it, or (after the
    // answer was shown) sends it back. The rating to log when this ends the word's first ask:
    // Good, Hard after a wrong try, Easy when `easy` and right at once.
    std::optional<int> Answer(bool right, bool easy);
    // The answer shown (Escape or the Show button): Again, to log on the first ask.
    std::optional<int> Show();
    // The word cannot be asked (it left the word file): it goes, unrated.
    void Drop();

    const RunTally& tally() const { return tally_; }

private:
    struct Item {
        std::string word;
        bool isNew = false;
        bool rated = false, wrongTried = false, shown = false;
    };
    void SendBack();

    std::deque<Item> items_;
    RunTally tally_;
};

}  // namespace review
