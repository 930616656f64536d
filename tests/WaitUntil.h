// Waiting for what another thread, a child process or the event loop does:
// polls until the condition holds or the limit passes. A time-out is a failure
// that names what was awaited, so callers write ASSERT_TRUE(WaitUntil(...)).
#pragma once

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

inline void SleepBriefly() {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

// `idle` runs between polls (Qt tests pass one that processes events).
template <class Predicate, class Idle = void (*)()>
[[nodiscard]] testing::AssertionResult
WaitUntil(const char* what, Predicate done,
          std::chrono::milliseconds limit = std::chrono::seconds(20), Idle idle = SleepBriefly) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until)
            return testing::AssertionFailure()
                   << "gave up after " << limit.count() << " ms waiting for " << what;
        idle();
    }
    return testing::AssertionSuccess();
}
