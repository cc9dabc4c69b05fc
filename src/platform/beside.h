// Two pieces of work at once, on two threads.
#pragma once

#include <exception>
#include <system_error>
#include <thread>

namespace platform {

// Runs `second` on a thread of its own while this one runs `first`, or both here when no
// thread can be had; what `second` throws (running out of memory) is thrown here.
template <typename First, typename Second>
void Beside(First first, Second second) {
    std::exception_ptr failed;
    std::thread thread;
    try {
        thread = std::thread([&] {
            try {
                second();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        first();
        second();
        return;
    }
    try {
        first();
    } catch (...) {
        thread.join();
        throw;
    }
    thread.join();
    if (failed) std::rethrow_exception(failed);
}

}  // namespace platform
