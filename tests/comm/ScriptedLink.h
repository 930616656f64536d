// A scripted far end for one call, and a recorder of the pauses and beeps of
// the library.
//
// The recorder: records the pauses and beeps of the library. A pause in which the library
// waits for a reply (given by its length) ends as soon as bytes wait on the
// port, at most after the pause itself, so that a scripted reply is seen
// however loaded the machine is; every other pause is cut to 1 ms. A test may
// act at a pause (send a late reply), before the wait.
#pragma once

#include "CommHooks.h"
#include "FarEnd.h"
#include "UARTComm.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

class ReplyPauses {
public:
    using Action = std::function<void(unsigned ms)>;

    ReplyPauses(CUARTComm& port, std::set<unsigned> replyWaits)
        : port_(port), replyWaits_(std::move(replyWaits)) {
        wirelay::SetSleepFunction([this](unsigned ms) { Pause(ms); });
        wirelay::SetBeepFunction([this] {
            std::lock_guard lock(lock_);
            ++beeps_;
        });
    }
    ~ReplyPauses() {
        wirelay::SetSleepFunction(nullptr);
        wirelay::SetBeepFunction(nullptr);
    }
    ReplyPauses(const ReplyPauses&) = delete;
    ReplyPauses& operator=(const ReplyPauses&) = delete;

    void OnPause(Action action) { action_ = std::move(action); }
    std::size_t Count(unsigned ms) const {
        std::lock_guard lock(lock_);
        return static_cast<std::size_t>(std::count(pauses_.begin(), pauses_.end(), ms));
    }
    std::size_t Beeps() const {
        std::lock_guard lock(lock_);
        return beeps_;
    }
    void Clear() {
        std::lock_guard lock(lock_);
        pauses_.clear();
        beeps_ = 0;
    }

private:
    void Pause(unsigned ms) {
        {
            std::lock_guard lock(lock_);
            pauses_.push_back(ms);
        }
        if (action_)
            action_(ms);
        if (replyWaits_.count(ms) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 1u)));
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (port_.PreCountInQue() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // A reply written in one piece may still be crossing the pty.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    CUARTComm& port_;
    std::set<unsigned> replyWaits_;
    Action action_;
    mutable std::mutex lock_;
    std::vector<unsigned> pauses_;
    std::size_t beeps_ = 0;
};

struct LinkOutcome {
    int result;
    std::vector<Bytes> requests; // cut at the request length
};

// Runs `call` against a far end that answers request number i with replies[i]
// (nothing once the list runs out). Requests the far end had no time to take
// before the call returned are collected afterwards.
inline LinkOutcome RunAgainstFarEnd(PtyPair& pty, std::size_t requestLength,
                                    std::vector<Bytes> replies, const std::function<int()>& call) {
    LinkOutcome o{};
    {
        FarEnd far(pty, requestLength, [replies](std::size_t i, const Bytes&) {
            return i < replies.size() ? replies[i] : Bytes{};
        });
        o.result = call();
        o.requests = far.Requests();
    }
    const Bytes rest = pty.Receive(4096, 20);
    for (std::size_t at = 0; at < rest.size(); at += requestLength)
        o.requests.emplace_back(
            rest.begin() + static_cast<std::ptrdiff_t>(at),
            rest.begin() + static_cast<std::ptrdiff_t>(std::min(rest.size(), at + requestLength)));
    return o;
}
