#include "core/review/optimizer.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include "core/review/memory_formulas.h"

namespace review {
namespace {

constexpr double kLow[kWeightCount] = {0.001, 0.001, 0.001, 0.001, 1, 0.001, 0.001, 0.001, 0, 0,  0.001,
                                       0.001, 0.001, 0.001, 0,     0, 1,     0,     0,     0, 0.1};
constexpr double kHigh[kWeightCount] = {100, 100,  100, 100, 10, 4, 4, 0.75, 4.5, 0.8, 3.5,
                                        5,   0.25, 0.9, 4,   1,  6, 2, 2,    0.8, 0.8};
// How far each weight spreads over many learners: the pull towards the starting weights is
// measured in these.
constexpr double kSpread[kWeightCount] = {6.43, 9.66, 17.58, 27.85, 0.57, 0.28, 0.6,  0.12, 0.39, 0.18, 0.33,
                                          0.3,  0.09, 0.16,  0.57,  0.25, 1.03, 0.31, 0.32, 0.14, 0.27};
constexpr double kMinProb = 1e-7, kMaxProb = 1 - 1e-7;
constexpr int kEpochs = 5;
constexpr std::size_t kBatchItems = 512, kMaxReviewsPerItem = 256;
constexpr double kLearningRate = 0.04;
constexpr std::uint64_t kSeed = 2023;
constexpr std::size_t kMinItems = 8, kMinItemsForAll = 64;

// A value and its derivatives by each weight, for the gradient of the loss in one forward pass.
struct Dual {
    double v = 0;
    std::array<double, kWeightCount> g{};
};

Dual Lift(double v) { return Dual{v, {}}; }

Dual operator+(Dual a, const Dual& b) {
    a.v += b.v;
    for (int i = 0; i < kWeightCount; ++i) a.g[i] += b.g[i];
    return a;
}
Dual operator+(Dual a, double b) {
    a.v += b;
    return a;
}
Dual operator*(Dual a, double b) {
    a.v *= b;
    for (double& x : a.g) x *= b;
    return a;
}
Dual operator*(double a, Dual b) { return b * a; }
Dual operator-(Dual a) { return a * -1.0; }
Dual operator-(Dual a, const Dual& b) { return a + -b; }
Dual operator-(Dual a, double b) { return a + -b; }
Dual operator-(double a, Dual b) { return -b + a; }
Dual operator*(const Dual& a, const Dual& b) {
    Dual r{a.v * b.v, {}};
    for (int i = 0; i < kWeightCount; ++i) r.g[i] = a.g[i] * b.v + b.g[i] * a.v;
    return r;
}
Dual operator/(const Dual& a, const Dual& b) {
    Dual r{a.v / b.v, {}};
    for (int i = 0; i < kWeightCount; ++i) r.g[i] = (a.g[i] - r.v * b.g[i]) / b.v;
    return r;
}
Dual operator/(Dual a, double b) { return a * (1 / b); }
Dual Inverse(const Dual& a) { return Lift(1) / a; }
// A function of one value with its derivative at the value.
Dual Chain(Dual a, double value, double slope) {
    a.v = value;
    for (double& x : a.g) x *= slope;
    return a;
}
Dual Exp(const Dual& a) {
    const double e = std::exp(a.v);
    return Chain(a, e, e);
}
Dual Log(const Dual& a) { return Chain(a, std::log(a.v), 1 / a.v); }
Dual Pow(const Dual& a, const Dual& b) {
    const double p = std::pow(a.v, b.v), logA = std::log(a.v);
    Dual r{p, {}};
    for (int i = 0; i < kWeightCount; ++i) r.g[i] = p * (b.v / a.v * a.g[i] + logA * b.g[i]);
    return r;
}
// A bound that holds passes no gradient on, as the reference's clamps do.
Dual Clamp(const Dual& a, double low, double high) { return a.v < low ? Lift(low) : a.v > high ? Lift(high) : a; }
double Value(const Dual& a) { return a.v; }

using formulas::Exp;
using formulas::Pow;
double Log(double a) { return std::log(a); }
double Clamp(double a, double low, double high) { return std::clamp(a, low, high); }
double Value(double a) { return a; }
double Inverse(double a) { return 1 / a; }

template <class T>
T Weight(const Weights& w, int i);
template <>
double Weight<double>(const Weights& w, int i) {
    return w[static_cast<std::size_t>(i)];
}
template <>
Dual Weight<Dual>(const Weights& w, int i) {
    Dual d = Lift(w[static_cast<std::size_t>(i)]);
    d.g[static_cast<std::size_t>(i)] = 1;
    return d;
}

// The scheduler's model over values that may carry derivatives, its constants worked out once.
template <class T>
struct Model {
    std::array<T, kWeightCount> w;
    T decay, factor, expW8, forgetCap, easyDifficulty;

    explicit Model(const Weights& weights) {
        for (int i = 0; i < kWeightCount; ++i) w[static_cast<std::size_t>(i)] = Weight<T>(weights, i);
        decay = -w[20];
        factor = Exp(Inverse(decay) * std::log(0.9)) - 1.0;
        expW8 = Exp(w[8]);
        forgetCap = Exp(w[17] * w[18]);
        easyDifficulty = formulas::InitialDifficulty<T>(w, kEasy);
    }
};

template <class T>
struct State {
    T s, d;
};

template <class T>
State<T> FirstState(const Model<T>& m, int rating) {
    return {Clamp(m.w[static_cast<std::size_t>(rating - 1)], kMinStability, kMaxStability),
            Clamp(formulas::InitialDifficulty<T>(m.w, rating), 1, 10)};
}

template <class T>
T Recall(const Model<T>& m, const T& s, double days) {
    return formulas::Recall(m.factor, m.decay, s, days);
}

template <class T>
void NextState(const Model<T>& m, State<T>& st, const T& r, int rating) {
    const auto& w = m.w;
    T s;
    if (rating == kAgain) {
        const T forgot = formulas::ForgottenStability(w, st.d, st.s, r);
        const T cap = st.s / m.forgetCap;
        s = Value(cap) < Value(forgot) ? cap : forgot;
    } else {
        T growth = formulas::RecallGrowth(w, m.expW8, st.d, st.s, r);
        if (rating == kHard) growth = growth * w[15];
        if (rating == kEasy) growth = growth * w[16];
        s = st.s * (growth + 1.0);
    }
    st.d = Clamp(formulas::NextDifficulty(w, m.easyDifficulty, st.d, rating), 1, 10);
    st.s = Clamp(s, kMinStability, kMaxStability);
}

// Replays a word's reviews before `end` and hands `take` each later review's index with the
// retrievability predicted for it.
template <class T, class Take>
void WalkWord(const Model<T>& m, const ReviewItems& items, std::uint32_t word, std::uint32_t end, Take&& take) {
    const std::uint32_t begin = items.wordStart[word];
    State<T> st = FirstState(m, ReviewItems::Rating(items.reviews[begin]));
    for (std::uint32_t k = begin + 1; k < end; ++k) {
        const std::uint32_t review = items.reviews[k];
        const T r = Recall(m, st.s, static_cast<double>(ReviewItems::Days(review)));
        take(k, r);
        if (k + 1 < end) NextState(m, st, r, ReviewItems::Rating(review));
    }
}

// The weighted cross-entropy of one prediction, kept inside (0, 1) as the training's is.
template <class T>
T ItemLoss(const T& r, bool recalled, double weight) {
    const T p = Clamp(r, kMinProb, kMaxProb);
    return -weight * (recalled ? Log(p) : Log(1.0 - p));
}

// Adds to `loss` and `grad` the weighted losses of a word's items before `end`, weighed by
// `weightOf(k)` for review k (0: no item), the gradient as the fit's steps take it.
template <class WeightOf>
void AddWordLoss(const Model<Dual>& m, const ReviewItems& items, std::uint32_t word, std::uint32_t end,
                 WeightOf&& weightOf, double& loss, std::array<double, kWeightCount>& grad) {
    WalkWord(m, items, word, end, [&](std::uint32_t k, const Dual& r) {
        const double weight = weightOf(k);
        if (weight == 0) return;
        const Dual item = ItemLoss(r, ReviewItems::Rating(items.reviews[k]) > kAgain, weight);
        loss += item.v;
        for (std::size_t i = 0; i < kWeightCount; ++i) grad[i] += item.g[i];
    });
}

double RecencyWeight(std::size_t index, std::size_t count) {
    const double last = std::max(1.0, static_cast<double>(count) - 1);
    return 0.25 + 0.75 * std::pow(static_cast<double>(index) / last, 3);
}

int FloorLog(double x, double base) { return static_cast<int>(std::floor(std::log(x) / std::log(base))); }

}  // namespace

void ClipWeights(Weights& weights) {
    for (int i = 0; i < kWeightCount; ++i) {
        double& w = weights[static_cast<std::size_t>(i)];
        w = std::clamp(w, kLow[i], kHigh[i]);
    }
}

bool WeightsInBounds(const Weights& weights) {
    for (int i = 0; i < kWeightCount; ++i) {
        const double w = weights[static_cast<std::size_t>(i)];
        if (!(w >= kLow[i] && w <= kHigh[i])) return false;
    }
    return true;
}

bool Evaluate(const ReviewItems& items, const Weights& weights, Evaluation& out,
              std::vector<CalibrationBin>* calibration) {
    if (items.items.empty()) return false;
    const Model<double> m(weights);
    // Per review: its prediction, and its bin as the powers that the bin's bounds are of.
    std::vector<double> predicted(items.reviews.size());
    std::vector<std::uint32_t> bin(items.reviews.size());
    for (std::uint32_t word = 0; word < items.Words(); ++word) {
        int longTerm = 0, lapses = 0;
        WalkWord(m, items, word, items.wordStart[word + 1], [&](std::uint32_t k, double r) {
            const std::uint32_t days = ReviewItems::Days(items.reviews[k]);
            if (days == 0) return;
            ++longTerm;
            predicted[k] = r;
            const int lapseBin = lapses == 0 ? 0 : FloorLog(lapses, 1.73) + 1;
            bin[k] = static_cast<std::uint32_t>(FloorLog(days, 3.62)) << 16 |
                     static_cast<std::uint32_t>(FloorLog(longTerm + 1, 1.89)) << 8 |
                     static_cast<std::uint32_t>(lapseBin);
            if (ReviewItems::Rating(items.reviews[k]) == kAgain) ++lapses;
        });
    }
    struct Bin {
        double predicted = 0, actual = 0, count = 0, weight = 0;
    };
    std::map<std::uint32_t, Bin> bins;
    double loss = 0, weightSum = 0;
    const std::size_t n = items.items.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t k = items.items[i];
        const double weight = RecencyWeight(i, n), p = predicted[k];
        const bool recalled = ReviewItems::Rating(items.reviews[k]) > kAgain;
        loss -= weight * (recalled ? std::log(p) : std::log(1 - p));
        weightSum += weight;
        Bin& b = bins[bin[k]];
        b.predicted += p;
        b.actual += recalled ? 1 : 0;
        b.count += 1;
        b.weight += weight;
    }
    double squares = 0, binWeight = 0;
    if (calibration) calibration->clear();
    for (const auto& [key, b] : bins) {
        const double gap = b.predicted / b.count - b.actual / b.count;
        squares += gap * gap * b.weight;
        binWeight += b.weight;
        if (calibration)
            calibration->push_back(
                {b.predicted / b.count, b.actual / b.count, static_cast<std::size_t>(b.count), b.weight});
    }
    out.logLoss = loss / weightSum;
    out.rmseBins = std::sqrt(squares / binWeight);
    return std::isfinite(out.logLoss) && std::isfinite(out.rmseBins);
}

double ItemsLoss(const ReviewItems& items, const Weights& weights, Gradient* gradient) {
    std::vector<char> isItem(items.reviews.size(), 0);
    for (std::uint32_t k : items.items) isItem[k] = 1;
    const Model<Dual> m(weights);
    double loss = 0;
    Gradient grad{};
    for (std::uint32_t word = 0; word < items.Words(); ++word)
        AddWordLoss(
            m, items, word, items.wordStart[word + 1], [&](std::uint32_t k) { return isItem[k] ? 1.0 : 0.0; }, loss,
            grad);
    const double n = static_cast<double>(std::max<std::size_t>(1, items.items.size()));
    if (gradient)
        for (std::size_t i = 0; i < kWeightCount; ++i) (*gradient)[i] = grad[i] / n;
    return loss / n;
}

namespace {

// The reference's initial stabilities: each first rating's from the recall seen at the
// second review, the ratings without enough of them filled in from the others.
struct FirstReviews {
    std::map<std::uint32_t, std::pair<double, double>> byDays[5];  // recalled, count
    double count[5] = {};
};

double SearchInitialStability(const std::map<std::uint32_t, std::pair<double, double>>& byDays, double averageRecall,
                              double defaultStability) {
    const Model<double> defaults(kDefaultWeights);
    const auto loss = [&](double s) {
        double sum = 0;
        for (const auto& [days, rc] : byDays) {
            const double n = rc.second;
            // Smoothed towards the average recall, as if one more review had that.
            const double y = (rc.first + averageRecall) / (n + 1);
            const double p = Recall(defaults, s, static_cast<double>(days));
            sum -= (y * std::log(p) + (1 - y) * std::log(1 - p)) * n;
        }
        return sum + std::abs(s - defaultStability) / 16;
    };
    double low = kMinStability, high = 100, best = defaultStability;
    for (int i = 0; i < 1000 && high - low > DBL_EPSILON; ++i) {
        const double a = low + (high - low) / 3, b = high - (high - low) / 3;
        if (loss(a) < loss(b))
            high = b;
        else
            low = a;
        best = (high + low) / 2;
    }
    return best;
}

// Makes the stabilities rise with the rating (the better counted rating wins) and fills the
// missing ones by the reference's fixed proportions. None when no rating has any.
std::optional<std::array<double, 4>> SmoothAndFill(std::array<std::optional<double>, 5> s, const double count[5]) {
    static const int kPairs[][2] = {{1, 2}, {2, 3}, {3, 4}, {1, 3}, {2, 4}, {1, 4}};
    for (const auto& [small, big] : kPairs)
        if (s[small] && s[big] && *s[small] > *s[big]) {
            if (count[small] > count[big])
                s[big] = s[small];
            else
                s[small] = s[big];
        }
    const double w1 = 0.41, w2 = 0.54;
    int known = 0;
    for (int g = 1; g <= 4; ++g) known += s[g] ? 1 : 0;
    if (known == 0) return std::nullopt;
    const auto P = [](double a, double b) { return std::pow(a, b); };
    if (known == 1) {
        double factor = 0;
        for (int g = 1; g <= 4; ++g)
            if (s[g]) factor = *s[g] / kDefaultWeights[static_cast<std::size_t>(g - 1)];
        for (int g = 1; g <= 4; ++g) s[g] = kDefaultWeights[static_cast<std::size_t>(g - 1)] * factor;
    } else if (known == 2) {
        auto &r1 = s[1], &r2 = s[2], &r3 = s[3], &r4 = s[4];
        if (r3 && r4) {
            r2 = P(*r3, 1 / (1 - w2)) * P(*r4, 1 - 1 / (1 - w2));
            r1 = P(*r2, 1 / w1) * P(*r3, 1 - 1 / w1);
        } else if (r2 && r4) {
            r3 = P(*r2, 1 - w2) * P(*r4, w2);
            r1 = P(*r2, 1 / w1) * P(*r3, 1 - 1 / w1);
        } else if (r2 && r3) {
            r4 = P(*r2, 1 - 1 / w2) * P(*r3, 1 / w2);
            r1 = P(*r2, 1 / w1) * P(*r3, 1 - 1 / w1);
        } else if (r1 && r4) {
            const double k = w1 / (w1 + w2 - w1 * w2), j = w2 / (w1 + w2 - w1 * w2);
            r2 = P(*r1, k) * P(*r4, 1 - k);
            r3 = P(*r1, 1 - j) * P(*r4, j);
        } else if (r1 && r3) {
            r2 = P(*r1, w1) * P(*r3, 1 - w1);
            r4 = P(*r2, 1 - 1 / w2) * P(*r3, 1 / w2);
        } else {
            r3 = P(*r1, 1 - 1 / (1 - w1)) * P(*r2, 1 / (1 - w1));
            r4 = P(*r2, 1 - 1 / w2) * P(*r3, 1 / w2);
        }
    } else if (known == 3) {
        auto &r1 = s[1], &r2 = s[2], &r3 = s[3], &r4 = s[4];
        if (!r1)
            r1 = P(*r2, 1 / w1) * P(*r3, 1 - 1 / w1);
        else if (!r2)
            r2 = P(*r1, w1) * P(*r3, 1 - w1);
        else if (!r3)
            r3 = P(*r2, 1 - w2) * P(*r4, w2);
        else
            r4 = P(*r2, 1 - 1 / w2) * P(*r3, 1 / w2);
    }
    std::array<double, 4> out{};
    for (int g = 1; g <= 4; ++g) out[static_cast<std::size_t>(g - 1)] = std::clamp(*s[g], kMinStability, 100.0);
    return out;
}

// A run of whole words whose items together are about one batch.
struct Batch {
    std::vector<std::uint32_t> words;
    std::size_t items = 0;
};

class Trainer {
public:
    Trainer(const ReviewItems& items, const std::vector<std::uint32_t>& train, const Weights& start)
        : items_(items), start_(start), weight_(items.reviews.size(), 0), end_(items.Words(), 0) {
        std::vector<std::uint32_t> perWord(items.Words(), 0);
        for (std::size_t i = 0; i < train.size(); ++i) {
            const std::uint32_t item = items.items[train[i]], word = items.itemWord[train[i]];
            if (item - items.wordStart[word] + 1 > kMaxReviewsPerItem) continue;
            weight_[item] = static_cast<float>(RecencyWeight(i, train.size()));
            end_[word] = std::max(end_[word], item + 1);
            ++perWord[word];
            ++total_;
        }
        // Words with shorter histories first, then in batches of about kBatchItems items.
        std::vector<std::uint32_t> words;
        for (std::uint32_t w = 0; w < items.Words(); ++w)
            if (perWord[w] != 0) words.push_back(w);
        std::stable_sort(words.begin(), words.end(), [&](std::uint32_t a, std::uint32_t b) {
            return end_[a] - items.wordStart[a] < end_[b] - items.wordStart[b];
        });
        for (std::uint32_t w : words) {
            if (batches_.empty() || (batches_.back().items != 0 && batches_.back().items + perWord[w] > kBatchItems))
                batches_.emplace_back();
            batches_.back().words.push_back(w);
            batches_.back().items += perWord[w];
        }
    }

    std::size_t total() const { return total_; }

    std::optional<Weights> Run(const FitProgress& progress) {
        Weights w = start_, best = start_;
        double bestLoss = INFINITY;
        const double steps = static_cast<double>((total_ / kBatchItems + 1) * kEpochs);
        double lr = kLearningRate, step = -1;
        std::array<double, kWeightCount> m{}, v{};
        int t = 0;
        std::mt19937_64 rng(kSeed);
        std::vector<std::size_t> order(batches_.size());
        for (int epoch = 0; epoch < kEpochs; ++epoch) {
            for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
            for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[rng() % i]);
            std::size_t done = 0;
            for (std::size_t b : order) {
                ++step;
                lr = step == 0 ? kLearningRate : CosineStep(lr, step, steps);
                std::array<double, kWeightCount> grad = Gradient(batches_[b], w);
                const double share = static_cast<double>(batches_[b].items) / static_cast<double>(total_);
                for (int i = 0; i < kWeightCount; ++i) {
                    const std::size_t u = static_cast<std::size_t>(i);
                    grad[u] += 2 * (w[u] - start_[u]) / (kSpread[i] * kSpread[i]) * share;
                }
                // Long-term only: the first stabilities were fitted beforehand, and the
                // same-day weights have nothing to learn from.
                for (int i : {0, 1, 2, 3, 17, 18, 19}) grad[static_cast<std::size_t>(i)] = 0;
                ++t;
                const double bias1 = 1 - std::pow(0.9, t), bias2 = 1 - std::pow(0.999, t);
                for (std::size_t i = 0; i < kWeightCount; ++i) {
                    m[i] = 0.9 * m[i] + 0.1 * grad[i];
                    v[i] = 0.999 * v[i] + 0.001 * grad[i] * grad[i];
                    w[i] -= lr * (m[i] / bias1) / (std::sqrt(v[i] / bias2) + 1e-8);
                }
                ClipWeights(w);
                done += batches_[b].items;
                if (progress && !progress(static_cast<std::size_t>(epoch) * total_ + done, total_ * kEpochs))
                    return std::nullopt;
            }
            const double loss = Loss(w);
            if (loss < bestLoss) {
                bestLoss = loss;
                best = w;
            }
        }
        return best;
    }

private:
    // The learning rate after `lr` at step `step` of `steps`, annealed along a cosine to 0.
    static double CosineStep(double lr, double step, double steps) {
        const double pi = 3.14159265358979323846;
        if (std::fmod(step - 1 - steps, 2 * steps) == 0) return kLearningRate * (1 - std::cos(pi / steps)) / 2;
        return (1 + std::cos(pi * step / steps)) / (1 + std::cos(pi * (step - 1) / steps)) * lr;
    }

    std::array<double, kWeightCount> Gradient(const Batch& batch, const Weights& w) const {
        const Model<Dual> m(w);
        std::array<double, kWeightCount> grad{};
        double loss = 0;
        for (std::uint32_t word : batch.words)
            AddWordLoss(
                m, items_, word, end_[word], [&](std::uint32_t k) { return static_cast<double>(weight_[k]); }, loss,
                grad);
        return grad;
    }

    // The training loss over all items, with the pull towards the starting weights.
    double Loss(const Weights& w) const {
        const Model<double> m(w);
        double loss = 0;
        for (std::uint32_t word = 0; word < items_.Words(); ++word)
            if (end_[word] != 0)
                WalkWord(m, items_, word, end_[word], [&](std::uint32_t k, double r) {
                    if (weight_[k] != 0)
                        loss += ItemLoss(r, ReviewItems::Rating(items_.reviews[k]) > kAgain, weight_[k]);
                });
        double pull = 0;
        for (int i = 0; i < kWeightCount; ++i) {
            const double d = w[static_cast<std::size_t>(i)] - start_[static_cast<std::size_t>(i)];
            pull += d * d / (kSpread[i] * kSpread[i]);
        }
        // Every batch adds its share of the pull, so the whole adds it once.
        return (loss + pull) / static_cast<double>(total_);
    }

    const ReviewItems& items_;
    Weights start_;
    std::vector<float> weight_;       // per review: its item's weight, 0 when it is none
    std::vector<std::uint32_t> end_;  // per word: one past its last item, 0 when it has none
    std::vector<Batch> batches_;
    std::size_t total_ = 0;
};

// The reference's outlier filter. Each word's first rating and the days to its first review on a
// later day group the items that start the stabilities; per first rating, the rarest gaps (up
// to a twentieth, at least 20 items), and gaps of fewer than 6 items or too long, leave with
// all their words' items. What stays: the training items (indices of `items.items`, in log
// order) and the first reviews by rating and gap.
struct Filtered {
    std::vector<std::uint32_t> train;
    // The kept items with one review on a later day: by first rating, then by gap from the
    // rarest, then in log order.
    std::vector<std::uint32_t> firstItems;
    FirstReviews first;
};

Filtered FilterOutliers(const ReviewItems& items) {
    Filtered out;
    const std::uint32_t words = static_cast<std::uint32_t>(items.Words());
    // A word's first item is its only one with one review on a later day; the groups list
    // them in log order.
    std::map<std::uint32_t, std::vector<std::uint32_t>> groups[5];
    std::vector<char> seen(words, 0), removed(words, 0);
    for (std::uint32_t i = 0; i < items.items.size(); ++i) {
        const std::uint32_t w = items.itemWord[i];
        if (seen[w]) continue;
        seen[w] = 1;
        groups[ReviewItems::Rating(items.reviews[items.wordStart[w]])][ReviewItems::Days(items.reviews[items.items[i]])]
            .push_back(i);
    }
    for (int rating = 1; rating <= 4; ++rating) {
        std::vector<std::pair<std::uint32_t, const std::vector<std::uint32_t>*>> byCount;
        std::size_t total = 0;
        for (const auto& [days, group] : groups[rating]) {
            byCount.push_back({days, &group});
            total += group.size();
        }
        // Rarest first; among as many, the shorter gap first.
        std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
            return a.second->size() != b.second->size() ? a.second->size() < b.second->size() : a.first < b.first;
        });
        std::size_t dropped = 0;
        for (const auto& [days, group] : byCount) {
            const bool rare = dropped + group->size() < std::max<std::size_t>(20, total / 20);
            const bool keep = !rare && group->size() >= 6 && days <= (rating != kEasy ? 100u : 365u);
            if (rare) dropped += group->size();
            for (std::uint32_t i : *group) {
                if (!keep) {
                    removed[items.itemWord[i]] = 1;
                    continue;
                }
                out.firstItems.push_back(i);
                auto& rc = out.first.byDays[rating][days];
                rc.first += ReviewItems::Rating(items.reviews[items.items[i]]) > kAgain ? 1 : 0;
                rc.second += 1;
                out.first.count[rating] += 1;
            }
        }
    }
    for (std::uint32_t i = 0; i < items.items.size(); ++i)
        if (!removed[items.itemWord[i]]) out.train.push_back(i);
    return out;
}

}  // namespace

ReviewItems MeasuredItems(const ReviewItems& items) {
    const Filtered filtered = FilterOutliers(items);
    ReviewItems kept = items;
    kept.items.clear();
    kept.itemWord.clear();
    const auto take = [&](std::uint32_t i) {
        kept.items.push_back(items.items[i]);
        kept.itemWord.push_back(items.itemWord[i]);
    };
    std::vector<char> first(items.items.size(), 0);
    for (std::uint32_t i : filtered.firstItems) {
        first[i] = 1;
        take(i);
    }
    for (std::uint32_t i : filtered.train)
        if (!first[i]) take(i);
    return kept;
}

Fit FitWeights(const ReviewItems& items, const FitProgress& progress) {
    Fit fit;
    Filtered filtered = FilterOutliers(items);
    const FirstReviews& first = filtered.first;
    const std::size_t firstItems = filtered.firstItems.size();
    const std::vector<std::uint32_t>& train = filtered.train;
    std::size_t recalled = 0;
    for (std::uint32_t i : train) recalled += ReviewItems::Rating(items.reviews[items.items[i]]) > kAgain ? 1 : 0;
    fit.trainingItems = train.size();
    if (train.size() < kMinItems) return fit;

    const double averageRecall = static_cast<double>(recalled) / static_cast<double>(train.size());
    std::array<std::optional<double>, 5> stabilities;
    for (int g = 1; g <= 4; ++g)
        if (!first.byDays[g].empty())
            stabilities[static_cast<std::size_t>(g)] = SearchInitialStability(
                first.byDays[g], averageRecall, kDefaultWeights[static_cast<std::size_t>(g - 1)]);
    const std::optional<std::array<double, 4>> initial = SmoothAndFill(stabilities, first.count);
    if (!initial) return fit;
    Weights start = kDefaultWeights;
    std::copy(initial->begin(), initial->end(), start.begin());
    fit.weights = start;
    fit.outcome = FitOutcome::InitialOnly;
    if (train.size() < kMinItemsForAll || train.size() == firstItems) return fit;

    // Without same-day reviews the lapse's cap exp(w17 w18) and w19 have nothing to learn from;
    // at 0 the cap is only that a lapse never raises the stability.
    start[17] = start[18] = start[19] = 0;
    Trainer trainer(items, train, start);
    const std::optional<Weights> trained = trainer.Run(progress);
    if (!trained) {
        fit.outcome = FitOutcome::Cancelled;
        fit.weights = kDefaultWeights;
        return fit;
    }
    fit.weights = *trained;
    fit.outcome = FitOutcome::Fitted;
    return fit;
}

}  // namespace review
