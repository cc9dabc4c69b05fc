// The program's threads, and the few ways they work together.
//
// The windows, the store, the settings and the lists belong to the one thread that runs the
// message loop. Only the import and the sort start other threads, each for the length of
// one call, joined before it returns (also when it throws or is cancelled):
//
// - the merge of an import's plan (Planner, core/exchange/import_plan.cpp) takes batches of
//   prepared entries through a HandOver from the thread that reads the file; it alone
//   touches the plan's records and report until the hand-over is finished;
// - the unpacking of a dictionary (UnpackingText, core/exchange/unpacking.cpp) writes the
//   text ahead of the reader into room neither moves; what is done is told through a Shared;
// - Beside: the second half of a sort's keys and buckets (core/store/sorting.cpp), the
//   reverse pair's sort and write next to the pair's (core/exchange/import_apply.cpp), and
//   an import's report made while the word files are backed up (import_run.cpp). Each side
//   touches only what its caller gave it.
//
// No thread but the first touches a window, the store or a global. Where no second thread
// can be had (or a test asks for one thread) the work runs on the caller's, in the same order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

// A thread that is joined when it goes.
class JoinedThread {
public:
    JoinedThread() = default;
    ~JoinedThread() { Join(); }
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;

    // Runs `work` on the new thread; false when no thread can be had.
    template <typename Work>
    bool Start(Work work) {
        try {
            thread_ = std::thread(std::move(work));
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }
    bool Running() const { return thread_.joinable(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

// Runs `second` on a thread of its own while this one runs `first`, or both here when no
// thread can be had; what `second` throws (running out of memory) is thrown here.
template <typename First, typename Second>
void Beside(First first, Second second) {
    std::exception_ptr failed;
    JoinedThread thread;
    const bool started = thread.Start([&] {
        try {
            second();
        } catch (...) {
            failed = std::current_exception();
        }
    });
    if (!started) {
        first();
        second();
        return;
    }
    first();  // what it throws leaves after the join
    thread.Join();
    if (failed) std::rethrow_exception(failed);
}

// State that threads share: read and changed under its lock, each change waking those who
// wait for a condition of it.
template <typename State>
class Shared {
public:
    template <typename... Args>
    explicit Shared(Args&&... args) : state_(std::forward<Args>(args)...) {}

    // `change(state)` under the lock; its result.
    template <typename Changer>
    auto Change(Changer change) {
        std::lock_guard<std::mutex> lock(mutex_);
        struct Wake {
            std::condition_variable& changed;
            ~Wake() { changed.notify_all(); }
        } wake{changed_};
        return change(state_);
    }
    // Waits until `until(state)` holds, then `then(state)` under the same lock; its result.
    template <typename Until, typename Then>
    auto When(Until until, Then then) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return until(static_cast<const State&>(state_)); });
        struct Wake {
            std::condition_variable& changed;
            ~Wake() { changed.notify_all(); }
        } wake{changed_};
        return then(state_);
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    State state_;
};

// Batches handed from the thread that fills them to one that consumes them, in the order
// handed over, at most `inFlight` at a time: the filling runs ahead of the consuming by no
// more. What the consumer throws (running out of memory) is thrown to the filler at its
// next step. The batches are reused: `consume` leaves each as it wants it refilled.
template <typename Batch>
class HandOver {
public:
    // `beside` false consumes each batch on the filling thread as it is handed over, as
    // when no second thread can be had.
    HandOver(std::function<void(Batch&)> consume, std::size_t inFlight, bool beside)
        : consume_(std::move(consume)), inFlight_(inFlight), beside_(beside) {}
    // Stops the consumer: what it has not taken yet is dropped.
    ~HandOver() {
        queue_.Change([](Queue& q) { q.stop = true; });
        thread_.Join();
    }
    HandOver(const HandOver&) = delete;
    HandOver& operator=(const HandOver&) = delete;

    // The batch being filled.
    Batch& Current() {
        if (!current_) current_ = NextEmpty();
        return *current_;
    }
    // The current batch to the consumer; the next Current is another.
    void Put() {
        if (!started_) {
            started_ = true;
            if (beside_) beside_ = thread_.Start([this] { Consume(); });
        }
        std::unique_ptr<Batch> batch = std::move(current_);
        if (!batch) return;
        if (!beside_) {
            consume_(*batch);
            current_ = std::move(batch);
            return;
        }
        queue_.Change([&](Queue& q) {
            q.Rethrow();
            q.full.push_back(std::move(batch));
        });
    }
    // Waits until every batch handed over is consumed; throws what the consumer threw.
    void Finish() {
        queue_.Change([](Queue& q) { q.finished = true; });
        thread_.Join();
        queue_.Change([](Queue& q) { q.Rethrow(); });
    }

private:
    struct Queue {
        std::deque<std::unique_ptr<Batch>> full, empty;
        std::size_t made = 0;
        bool finished = false, stop = false;
        std::exception_ptr failure;
        void Rethrow() const {
            if (failure) std::rethrow_exception(failure);
        }
    };

    std::unique_ptr<Batch> NextEmpty() {
        auto taken =
            queue_.When([&](const Queue& q) { return !q.empty.empty() || q.made < inFlight_ || q.failure || !beside_; },
                        [](Queue& q) {
                            q.Rethrow();
                            std::unique_ptr<Batch> batch;
                            if (!q.empty.empty()) {
                                batch = std::move(q.empty.front());
                                q.empty.pop_front();
                            } else {
                                ++q.made;
                            }
                            return batch;
                        });
        return taken ? std::move(taken) : std::make_unique<Batch>();
    }

    void Consume() {
        for (;;) {
            std::unique_ptr<Batch> batch =
                queue_.When([](const Queue& q) { return q.stop || q.finished || !q.full.empty(); },
                            [](Queue& q) {
                                std::unique_ptr<Batch> next;
                                if (!q.stop && !q.full.empty()) {
                                    next = std::move(q.full.front());
                                    q.full.pop_front();
                                }
                                return next;
                            });
            if (!batch) return;
            try {
                consume_(*batch);
            } catch (...) {
                queue_.Change([](Queue& q) { q.failure = std::current_exception(); });
                return;
            }
            queue_.Change([&](Queue& q) { q.empty.push_back(std::move(batch)); });
        }
    }

    std::function<void(Batch&)> consume_;
    const std::size_t inFlight_;
    bool beside_;
    bool started_ = false;
    std::unique_ptr<Batch> current_;
    Shared<Queue> queue_;
    JoinedThread thread_;  // last: joined before the queue goes
};

}  // namespace platform
