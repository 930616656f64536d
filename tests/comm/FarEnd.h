// The far end of a pseudo-terminal, scripted: a thread that collects each
// request of a known length from the master end and answers it with the bytes
// the test chooses (or with nothing). Also a recorder of the library's pauses
// and beeps, so tests check them without waiting them out.
#pragma once

#include "CommHooks.h"
#include "HexFrames.h"
#include "PtyPair.h"
#include "UARTComm.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

class FarEnd {
public:
    // Answer for request number `index` (0-based); empty = stay silent.
    using Script = std::function<Bytes(std::size_t index, const Bytes& request)>;

    FarEnd(PtyPair& pty, std::size_t requestLength, Script script)
        : pty_(pty), requestLength_(requestLength), script_(std::move(script)),
          thread_([this] { Run(); }) {}
    ~FarEnd() {
        stop_ = true;
        thread_.join();
    }
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    std::vector<Bytes> Requests() const {
        std::lock_guard lock(lock_);
        return requests_;
    }

private:
    void Run() {
        Bytes pending;
        while (!stop_) {
            Bytes got = pty_.Receive(requestLength_ - pending.size(), 10);
            pending.insert(pending.end(), got.begin(), got.end());
            if (pending.size() < requestLength_)
                continue;
            std::size_t index;
            {
                std::lock_guard lock(lock_);
                requests_.push_back(pending);
                index = requests_.size() - 1;
            }
            const Bytes answer = script_(index, pending);
            pending.clear();
            if (!answer.empty())
                pty_.Send(answer);
        }
    }

    PtyPair& pty_;
    std::size_t requestLength_;
    Script script_;
    mutable std::mutex lock_;
    std::vector<Bytes> requests_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
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

// Records every pause and beep of the library. A pause in which the library
// waits for a reply (its length is one of `replyWaits`) ends as soon as bytes
// wait on `port`, at most after the pause itself, so that a scripted reply is
// seen however loaded the machine is; every other pause is cut to 1 ms, so a
// poll still gives the far end time to answer. A test may act at a pause
// (send a late reply) before the wait.
class SleepRecorder {
public:
    using Action = std::function<void(unsigned ms)>;

    explicit SleepRecorder(CUARTComm* port = nullptr, std::set<unsigned> replyWaits = {})
        : port_(port), replyWaits_(std::move(replyWaits)) {
        wirelay::SetSleepFunction([this](unsigned ms) { Pause(ms); });
        wirelay::SetBeepFunction([this] {
            std::lock_guard lock(lock_);
            ++beeps_;
        });
    }
    ~SleepRecorder() {
        wirelay::SetSleepFunction(nullptr);
        wirelay::SetBeepFunction(nullptr);
    }
    SleepRecorder(const SleepRecorder&) = delete;
    SleepRecorder& operator=(const SleepRecorder&) = delete;

    void OnPause(Action action) { action_ = std::move(action); }
    std::vector<unsigned> Pauses() const {
        std::lock_guard lock(lock_);
        return pauses_;
    }
    std::size_t Count(unsigned ms) const {
        const auto p = Pauses();
        return static_cast<std::size_t>(std::count(p.begin(), p.end(), ms));
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
        if (port_ == nullptr || replyWaits_.count(ms) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 1u)));
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (port_->PreCountInQue() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // A reply written in one piece may still be crossing the pty.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }

    CUARTComm* port_;
    std::set<unsigned> replyWaits_;
    Action action_;
    mutable std::mutex lock_;
    std::vector<unsigned> pauses_;
    std::size_t beeps_ = 0;
};
