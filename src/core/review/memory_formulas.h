// FSRS-6's formulas of a word's memory, written once for the scheduler (plain values) and
// for the optimizer (values that carry their derivatives by each weight), so that the
// schedule a learner gets is the one the fit measured. `W` indexes the 21 weights; the
// operations on T are found beside T (the plain ones below).
#pragma once

#include <cmath>

namespace review::formulas {

inline double Exp(double a) { return std::exp(a); }
inline double Pow(double a, double b) { return std::pow(a, b); }

// The chance of recalling the word after `days` whole days at stability `s`.
template <class T>
T Recall(const T& factor, const T& decay, const T& s, double days) {
    return Pow(factor * days / s + 1.0, decay);
}

// The stability after a lapse, before the cap that keeps it under the last one.
template <class T, class W>
T ForgottenStability(const W& w, const T& d, const T& s, const T& r) {
    return w[11] * Pow(d, -w[12]) * (Pow(s + 1.0, w[13]) - 1.0) * Exp((1.0 - r) * w[14]);
}

// The growth a recalled word's stability gets, before Hard's and Easy's factors.
template <class T, class W>
T RecallGrowth(const W& w, const T& expW8, const T& d, const T& s, const T& r) {
    return expW8 * (11.0 - d) * Pow(s, -w[9]) * (Exp((1.0 - r) * w[10]) - 1.0);
}

// The difficulty after a rating, before its bounds: moved by the rating, damped near the
// top, then pulled toward the (unclamped) initial difficulty of Easy.
template <class T, class W>
T NextDifficulty(const W& w, const T& easyDifficulty, const T& d, int rating) {
    const T damped = d + -w[6] * static_cast<double>(rating - 3) * (10.0 - d) / 9.0;
    return w[7] * easyDifficulty + (1.0 - w[7]) * damped;
}

// The difficulty of a word first rated `rating`, before its bounds.
template <class T, class W>
T InitialDifficulty(const W& w, int rating) {
    return w[4] - Exp(w[5] * static_cast<double>(rating - 1)) + 1.0;
}

}  // namespace review::formulas
