#include "core/review/stored_weights.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/review/optimizer.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

namespace review {
namespace {

constexpr std::string_view kTag = "revparams 1 ";
// Far more than one line of it; a larger file is not read.
constexpr std::int64_t kMaxBytes = 4096;

bool TakeNumber(std::string_view& text, double& value, char end) {
    auto [p, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || p == text.data() + text.size() || *p != end) return false;
    text.remove_prefix(static_cast<std::size_t>(p - text.data()) + 1);
    return true;
}

bool IsDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

}  // namespace

std::string WeightsText(const Weights& weights) {
    std::string text;
    for (double w : weights) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.6f", w);
        std::string number = digits;
        // Plain decimals without trailing zeros: 0.212, 2, 0.0658.
        number.erase(number.find_last_not_of('0') + 1);
        if (number.back() == '.') number.pop_back();
        text += (text.empty() ? "" : ",") + number;
    }
    return text;
}

WeightsFile ReadStoredWeights(const std::string& path, StoredWeights& stored, std::string& reason) {
    if (!platform::FileExists(path)) return WeightsFile::Missing;
    std::string bytes;
    const auto refuse = [&](const char* why) {
        reason = why;
        return WeightsFile::Refused;
    };
    if (!platform::ReadFileBytes(path, bytes, kMaxBytes)) return refuse("cannot be read");
    std::string_view text = bytes;
    if (text.substr(0, kTag.size()) != kTag) return refuse("not a parameters file of this program");
    text.remove_prefix(kTag.size());
    StoredWeights read;
    for (std::size_t i = 0; i < read.weights.size(); ++i)
        if (!TakeNumber(text, read.weights[i], i + 1 < read.weights.size() ? ',' : ' '))
            return refuse("not 21 numbers");
    if (!WeightsInBounds(read.weights)) return refuse("a weight out of its bounds");
    double reviews = 0;
    if (!TakeNumber(text, reviews, ' ') || !TakeNumber(text, read.logLossBefore, ' ') ||
        !TakeNumber(text, read.logLossAfter, ' ') || reviews < 0 || reviews != std::floor(reviews))
        return refuse("damaged");
    read.reviews = static_cast<std::int64_t>(reviews);
    if (text.size() > 10 && text.substr(10) == "\r\n") text.remove_suffix(2);
    if (!IsDate(text)) return refuse("damaged");
    read.date = std::string(text);
    stored = read;
    return WeightsFile::Used;
}

int WriteStoredWeights(const std::string& path, const StoredWeights& stored) {
    char figures[96];
    std::snprintf(figures, sizeof figures, " %lld %.6f %.6f ", static_cast<long long>(stored.reviews),
                  stored.logLossBefore, stored.logLossAfter);
    const std::string line = std::string(kTag) + WeightsText(stored.weights) + figures + stored.date + "\r\n";
    return platform::ReplaceFileWith(path, line) == 0 ? 0 : -1;
}

}  // namespace review
