// The far end of a pseudo-terminal, scripted: a thread that collects each
// request of a known length from the master end and answers it with the bytes
// the test chooses (or with nothing). Also a recorder of the library's pauses,
// so tests check them without waiting them out.
#pragma once

#include "CommHooks.h"
#include "HexFrames.h"
#include "PtyPair.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
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

// One call against a far end answering every request of `requestLength`
// bytes with `reply`: the call's result and the requests the far end saw.
struct FarEndExchange {
    int result;
    std::vector<Bytes> requests;
};
inline FarEndExchange ExchangeWith(PtyPair& pty, std::size_t requestLength, const Bytes& reply,
                                   const std::function<int()>& call) {
    FarEnd far(pty, requestLength, [reply](std::size_t, const Bytes&) { return reply; });
    const int result = call();
    return {result, far.Requests()};
}

// Records every pause the library takes and shortens it to at most 1 ms, so
// a poll still gives the far end time to answer.
class SleepRecorder {
public:
    SleepRecorder() {
        wirelay::SetSleepFunction([this](unsigned ms) {
            {
                std::lock_guard lock(lock_);
                pauses_.push_back(ms);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 1u)));
        });
    }
    ~SleepRecorder() { wirelay::SetSleepFunction(nullptr); }
    SleepRecorder(const SleepRecorder&) = delete;
    SleepRecorder& operator=(const SleepRecorder&) = delete;

    std::vector<unsigned> Pauses() const {
        std::lock_guard lock(lock_);
        return pauses_;
    }
    std::size_t Count(unsigned ms) const {
        const auto p = Pauses();
        return static_cast<std::size_t>(std::count(p.begin(), p.end(), ms));
    }
    void Clear() {
        std::lock_guard lock(lock_);
        pauses_.clear();
    }

private:
    mutable std::mutex lock_;
    std::vector<unsigned> pauses_;
};
