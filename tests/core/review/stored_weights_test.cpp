#include "core/review/stored_weights.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

class StoredWeightsTest : public InWorkDir {};

// A file that is damaged, foreign, out of bounds or NaN is refused with its reason and never
// changes what the caller holds. (What is written reads back is the log fitting's test.)
TEST_F(StoredWeightsTest, EveryBadFileIsRefused) {
    review::StoredWeights read;
    read.weights[20] = 0.3;
    std::string reason;
    EXPECT_EQ(review::ReadStoredWeights("none.revparams", read, reason), review::WeightsFile::Missing);
    const std::string good = review::WeightsText(review::kDefaultWeights);
    const struct {
        std::string text, reason;
    } kBad[] = {
        {"revstate 1 " + good + " 10 0.3 0.2 2026-01-05\r\n", "not a parameters file of this program"},
        {"revparams 1 0.212,1.2931 10 0.3 0.2 2026-01-05\r\n", "not 21 numbers"},
        {"revparams 1 nan," + good.substr(good.find(',') + 1) + " 10 0.3 0.2 2026-01-05\r\n",
         "a weight out of its bounds"},
        {"revparams 1 " + good.substr(0, good.rfind(',')) + ",0.95 10 0.3 0.2 2026-01-05\r\n",
         "a weight out of its bounds"},
        {"revparams 1 " + good + " 10 0.3 0.2\r\n", "damaged"},
        {"revparams 1 " + good + " -4 0.3 0.2 2026-01-05\r\n", "damaged"},
    };
    for (const auto& bad : kBad) {
        SCOPED_TRACE(bad.text);
        WriteFile("p.revparams", bad.text);
        review::StoredWeights kept = read;
        EXPECT_EQ(review::ReadStoredWeights("p.revparams", kept, reason), review::WeightsFile::Refused);
        EXPECT_EQ(reason, bad.reason);
        EXPECT_EQ(kept.weights, read.weights);
    }
}

}  // namespace
