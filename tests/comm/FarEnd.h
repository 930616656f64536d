// The far end of a pseudo-terminal, scripted: a thread that collects each
// request of a known length from the master end and answers it with the bytes
// the test chooses (or with nothing). Also a recorder of the library's pauses,
// so tests check them without waiting them out.
#pragma once

#include "CommHooks.h"
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

using Bytes = std::vector<std::uint8_t>;

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

// Appends the Modbus CRC, computed here bit by bit, independently of the
// library's tables.
inline Bytes WithCrc(Bytes frame) {
    unsigned crc = 0xFFFF;
    for (std::uint8_t b : frame) {
        crc ^= b;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

inline Bytes Hex(const char* text) {
    Bytes bytes;
    unsigned value;
    int used;
    while (std::sscanf(text, "%2x%n", &value, &used) == 1) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        text += used;
        while (*text == ' ')
            ++text;
    }
    return bytes;
}
