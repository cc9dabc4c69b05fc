// Timings for --stats. They go to stderr and only when asked, so what a command prints on
// stdout stays the same with or without them.
#pragma once

#include <chrono>
#include <cstdio>

namespace wordlist {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Measures from its making. Given a name, it prints "name<TAB>n.n ms" as it goes out of
// scope; without one the command prints its own figures from Seconds().
class StatsTimer {
public:
    explicit StatsTimer(bool on, const char* name = nullptr) : on_(on), name_(name), start_(Clock::now()) {}
    ~StatsTimer() {
        if (on_ && name_) std::fprintf(stderr, "%s\t%.1f ms\n", name_, Seconds() * 1e3);
    }
    StatsTimer(const StatsTimer&) = delete;
    StatsTimer& operator=(const StatsTimer&) = delete;

    bool on() const { return on_; }
    Clock::time_point start() const { return start_; }
    double Seconds() const { return wordlist::Seconds(start_, Clock::now()); }

private:
    bool on_;
    const char* name_;
    Clock::time_point start_;
};

}  // namespace wordlist
