#include "tools/wordlist/review_commands.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/review/log_fitting.h"
#include "core/review/review_log_csv.h"
#include "core/review/review_pair.h"
#include "core/review/review_queue.h"
#include "core/review/stored_weights.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "core/text/fixed_text.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "tools/wordlist/stats_timer.h"

namespace wordlist {
namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The pair's review memory on UTC days, matched against its word file, and the count of the
// word file's live words; false without its files.
bool OpenPairReview(review::PairReviewFiles& files, review::ReviewMemory& memory, std::int32_t* liveWords = nullptr) {
    std::optional<review::PairReviewFiles> found = review::ReviewFilesOf(*CurrentPair);
    if (!found) return false;
    files = *found;
    ReadReviewSettings();
    const std::int32_t live = review::LoadPairMemory(files, review::RulesFromSettings(0), memory);
    if (liveWords) *liveWords = live;
    return true;
}

void PrintState(const review::WordMemory& w) {
    std::printf("%s\t%s\t%.4f\t%.4f\t%d\t%d\n", w.word.c_str(), review::TimeName(w.card.DueMs()).c_str(),
                w.card.stability, w.card.difficulty, w.card.reviews, w.card.lapses);
}

}  // namespace

// The word is taken as the word file stores it, so the log names it exactly.
int ReviewCommand(const Options& options) {
    char* end = nullptr;
    const long rating = std::strtol(options.operand2.c_str(), &end, 10);
    if (*end != '\0' || rating < review::kAgain || rating > review::kEasy) return Fail("RATING is 1-4");
    const std::int32_t index = FindWord(options.operand.substr(0, kMaxTranslationChars).c_str());
    if (ReadWord(index) != 0 || !EqualsIgnoringAsciiCase(CurrentRecord.word, options.operand) ||
        IsDeleted(CurrentRecord))
        return Fail("there is no word " + options.operand + " in " + WordFileName(*CurrentPair));
    const std::string word = CurrentRecord.word;
    review::PairReviewFiles files;
    review::ReviewMemory memory;
    if (!OpenPairReview(files, memory)) return Fail("the review files' paths are too long");
    const review::ReplayRules rules = review::RulesFromSettings(0);
    if (review::LogReview(files, rules, {options.at.value_or(NowMs()), word, static_cast<int>(rating), 0}, memory) != 0)
        return Fail("cannot write " + files.log);
    review::SaveReviewMemory(files.log, files.state, rules, memory);
    PrintState(*memory.Find(word));
    return 0;
}

int DueCommand(const Options& options) {
    const StatsTimer timer(options.stats);
    review::PairReviewFiles files;
    review::ReviewMemory memory;
    if (!OpenPairReview(files, memory)) return Fail("the review files' paths are too long");
    const Clock::time_point loaded = Clock::now();
    const std::vector<const review::WordMemory*> words =
        options.all ? review::ReviewedWords(memory) : review::DueWords(memory, options.at.value_or(NowMs()), 0);
    const Clock::time_point queued = Clock::now();
    for (const review::WordMemory* w : words) PrintState(*w);
    if (timer.on())
        std::fprintf(stderr, "load\t%.3f s\nqueue\t%.3f s\nwords\t%zu\t%zu\npeak memory\t%.1f MB\n",
                     Seconds(timer.start(), loaded), Seconds(loaded, queued), memory.words().size(), words.size(),
                     static_cast<double>(platform::PeakMemoryBytes()) / 1e6);
    return 0;
}

int ReviewStatsCommand(const Options& options) {
    review::PairReviewFiles files;
    review::ReviewMemory memory;
    std::int32_t words = 0;
    if (!OpenPairReview(files, memory, &words)) return Fail("the review files' paths are too long");
    const std::int64_t now = options.at.value_or(NowMs());
    std::fputs(review::FiguresText(review::Figures(memory, now, 0, words), review::DayNumber(now, 0)).c_str(), stdout);
    return 0;
}

int ReviewLogExportCommand(const Options& options) {
    std::optional<review::PairReviewFiles> files = review::ReviewFilesOf(*CurrentPair);
    std::string log;
    if (!files || !platform::ReadFileBytes(files->log, log)) return Fail("there is no review log for this pair");
    const review::ReviewLogCsv csv = review::ReviewLogToCsv(log);
    if (platform::ReplaceFileWith(options.operand2, csv.text) != 0) return Fail("cannot write " + options.operand2);
    std::printf("%zu reviews of %zu words written to %s\n", csv.reviews, csv.words, options.operand2.c_str());
    if (csv.damaged != 0) std::printf("%zu damaged lines left out\n", csv.damaged);
    return 0;
}

// Both sets are measured on the same items, and the fitted ones stored only when they
// predict better (see PredictsBetter).
int ReviewOptimizeCommand(const Options& options) {
    std::optional<review::PairReviewFiles> files = review::ReviewFilesOf(*CurrentPair);
    if (!files) return Fail("the review files' paths are too long");
    std::string log;
    if (!platform::ReadFileBytes(files->log, log)) log.clear();
    ReadReviewSettings();
    const review::Weights current = review::RulesFromSettings(0).params.model.weights();
    const review::LogFit fit = review::FitLog(log, current, 0);
    std::printf("reviews %zu words %zu\n", fit.reviews, fit.words);
    if (!fit.measured) {
        std::printf("too few reviews to measure: the parameters stay\nparameters %s\n",
                    review::WeightsText(current).c_str());
        return 0;
    }
    std::printf("current log-loss %.4f rmse %.4f\nfitted log-loss %.4f rmse %.4f\n", fit.current.logLoss,
                fit.current.rmseBins, fit.fitted.logLoss, fit.fitted.rmseBins);
    if (fit.fit.outcome == review::FitOutcome::TooFew)
        std::printf("too few reviews to fit (%zu items, 8 needed): the defaults\n", fit.fit.trainingItems);
    if (fit.fit.outcome == review::FitOutcome::InitialOnly)
        std::printf("few reviews (%zu items, 64 needed for all): only w0-w3 fitted\n", fit.fit.trainingItems);
    if (options.apply) {
        if (fit.verdict == review::FitVerdict::Better) {
            if (review::StoreFit(files->params, fit, NowMs()) != 0) return Fail("cannot write " + files->params);
            std::printf("stored: the fitted parameters\n");
        } else if (fit.verdict == review::FitVerdict::TooFew) {
            std::printf("kept: too few reviews to fit\n");
        } else {
            std::printf("kept: the current parameters predict as well or better\n");
        }
    }
    std::printf("parameters %s\n", review::WeightsText(fit.fit.weights).c_str());
    return 0;
}

}  // namespace wordlist
