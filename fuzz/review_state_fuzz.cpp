// The review state file (<word file>.revstate), the cache of its log's replay, loaded
// against the log it claims. Input: the log, then "@@" and the state file (none: missing).
// Whatever the state file holds, the memory loaded is one the scheduler could have made; a
// state file not taken is made again from the log and then taken as that log's replay; and
// an answer appended by this process keeps the state file in use.
#include <cmath>

#include "core/review/review_memory.h"
#include "fuzz_support.h"

namespace {

const std::string kLog = "wordlists\\eng_dut.revlog", kState = "wordlists\\eng_dut.revstate";

void CheckSound(const review::ReviewMemory& memory, const std::string& detail) {
    for (const review::WordMemory& w : memory.words())
        FUZZ_CHECK(w.card.reviews >= 1 && std::isfinite(w.card.stability) && w.card.stability > 0 &&
                       std::isfinite(w.card.difficulty) && !w.word.empty(),
                   w.word + "\n" + detail);
}

bool SameMemory(const review::ReviewMemory& a, const review::ReviewMemory& b) {
    if (a.words().size() != b.words().size() || a.days.size() != b.days.size()) return false;
    for (std::size_t i = 0; i < a.words().size(); ++i) {
        const review::CardState &x = a.words()[i].card, &y = b.words()[i].card;
        if (a.words()[i].word != b.words()[i].word || x.stability != y.stability || x.difficulty != y.difficulty ||
            x.lastReviewMs != y.lastReviewMs || x.intervalDays != y.intervalDays || x.reviews != y.reviews ||
            x.lapses != y.lapses)
            return false;
    }
    for (auto i = a.days.begin(), j = b.days.begin(); i != a.days.end(); ++i, ++j)
        if (i->first != j->first || i->second.byRating != j->second.byRating ||
            i->second.firstReviews != j->second.firstReviews)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    const auto parts = SplitInput(data, size, 2);
    const std::string log(parts[0].value_or(""));
    PutFile(kLog, log);
    PutFile(kState, parts[1]);
    const std::string detail = "log: " + Shown(log) + "\nstate: " + (parts[1] ? Shown(*parts[1]) : "(none)");
    const review::ReplayRules rules;

    review::ReviewMemory loaded;
    const review::MemorySource source = review::LoadReviewMemory(kLog, kState, rules, loaded);
    CheckSound(loaded, detail);
    const review::ReviewMemory replayed = review::ReplayLog(log, rules);
    if (source == review::MemorySource::Log)
        FUZZ_CHECK(SameMemory(loaded, replayed), "a replay loaded otherwise\n" + detail);

    // The state file as the program makes it is taken, and gives the replay back.
    FUZZ_CHECK(review::SaveReviewMemory(kLog, kState, rules, replayed) == 0, detail);
    review::ReviewMemory again;
    FUZZ_CHECK(review::LoadReviewMemory(kLog, kState, rules, again) == review::MemorySource::Cache,
               "a state file just made not taken\n" + detail);
    FUZZ_CHECK(SameMemory(again, replayed), "the state file gives another memory\n" + detail);

    // This process's own answer: the state file stays in use and holds it.
    const review::LogEntry answer{1767600000000, "fuzz", 3, 1000};
    if (review::AppendReview(kLog, answer, &again.log) != 0) return 0;
    again.Apply(answer, rules);
    if (review::SaveReviewMemory(kLog, kState, rules, again) != 0) return 0;  // a cut last line was completed
    review::ReviewMemory after;
    FUZZ_CHECK(review::LoadReviewMemory(kLog, kState, rules, after) == review::MemorySource::Cache, detail);
    FUZZ_CHECK(SameMemory(after, review::ReplayLog(FileBytes(kLog), rules)),
               "the state file after an answer is not the log's replay\n" + detail);
    return 0;
}
