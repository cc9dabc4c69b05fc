#include "core/review/review_run.h"

#include "core/review/scheduler.h"

namespace review {

ReviewRun::ReviewRun(const std::vector<std::string>& due, const std::vector<std::string>& fresh) {
    for (const std::string& word : due) items_.push_back({word});
    for (const std::string& word : fresh) items_.push_back({word, true});
}

std::optional<int> ReviewRun::Answer(bool right, bool easy) {
    if (items_.empty()) return std::nullopt;
    Item& item = items_.front();
    if (item.shown) {
        if (right) SendBack();
        return std::nullopt;
    }
    if (!right) {
        item.wrongTried = true;
        return std::nullopt;
    }
    std::optional<int> rating;
    if (!item.rated) rating = item.wrongTried ? kHard : easy ? kEasy : kGood;
    ++tally_.reviewed;
    if (rating && *rating != kHard) ++tally_.rightAtOnce;
    if (item.isNew) ++tally_.newLearnt;
    items_.pop_front();
    return rating;
}

std::optional<int> ReviewRun::Show() {
    if (items_.empty() || items_.front().shown) return std::nullopt;
    Item& item = items_.front();
    item.shown = true;
    if (item.rated) return std::nullopt;
    item.rated = true;
    return kAgain;
}

void ReviewRun::Drop() {
    if (!items_.empty()) items_.pop_front();
}

void ReviewRun::SendBack() {
    Item item = std::move(items_.front());
    items_.pop_front();
    item.shown = item.wrongTried = false;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(kAgainGap, items_.size())), std::move(item));
}

}  // namespace review
