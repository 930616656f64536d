// A scripted drive on the master end of a pseudo-terminal for the scope's
// engine: it answers one-register writes, records them in order and streams
// 0xC6 sample frames (one per millisecond) after 0x0090 = 1.
#pragma once

#include "HexFrames.h"
#include "PtyPair.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <poll.h>
#include <thread>
#include <vector>

// A one-register write.
struct RegisterAccess {
    std::uint16_t address;
    std::uint16_t value;
    bool operator==(const RegisterAccess&) const = default;
};

class ScopeFarEnd {
public:
    explicit ScopeFarEnd(PtyPair& pty) : pty_(pty), thread_([this] { Run(); }) {}
    ~ScopeFarEnd() {
        stop_ = true;
        thread_.join();
    }
    ScopeFarEnd(const ScopeFarEnd&) = delete;
    ScopeFarEnd& operator=(const ScopeFarEnd&) = delete;

    std::atomic<bool> silent{false}; // answer no request

    std::vector<RegisterAccess> Writes() const {
        std::lock_guard lock(lock_);
        return accesses_;
    }
    std::vector<Bytes> Requests() const {
        std::lock_guard lock(lock_);
        return requests_;
    }
    std::size_t Count(RegisterAccess access) const {
        const auto all = Writes();
        return static_cast<std::size_t>(std::count(all.begin(), all.end(), access));
    }

private:
    // Channel A ramps 0..999 and starts again; B, C and D hold -1, -32768, 7.
    void SendFrame(long index) {
        pty_.Send(SampleFrame(static_cast<unsigned>(index % 1000), 0xFFFF, 0x8000, 7));
    }

    // Serves one complete request at the front of `in`; false when incomplete.
    bool Serve(Bytes& in) {
        if (in.size() < 8)
            return false;
        const std::size_t length = in[1] == 0x10 ? 9u + in[6] : 8u;
        if (in.size() < length)
            return false;
        const Bytes request(in.begin(), in.begin() + static_cast<long>(length));
        in.erase(in.begin(), in.begin() + static_cast<long>(length));
        if (request[1] != 0x10)
            return true; // the engine reads only during blocks, which are not scripted
        const unsigned address = request[2] << 8 | request[3];
        const unsigned value = request[7] << 8 | request[8];
        {
            std::lock_guard lock(lock_);
            requests_.push_back(request);
            if (silent)
                return true;
            accesses_.push_back({std::uint16_t(address), std::uint16_t(value)});
        }
        pty_.Send(WithCrc({request[0], 0x10, request[2], request[3], 0x00, 0x01}));
        if (address == 0x0090)
            streaming_ = value == 1;
        return true;
    }

    void Run() {
        Bytes in;
        auto next = std::chrono::steady_clock::now();
        long index = 0;
        while (!stop_) {
            if (pty_.MasterFd() < 0)
                return;
            pollfd p{pty_.MasterFd(), POLLIN, 0};
            if (::poll(&p, 1, 1) > 0 && (p.revents & POLLIN) != 0) {
                std::uint8_t buf[256];
                const ssize_t n = ::read(pty_.MasterFd(), buf, sizeof buf);
                if (n > 0)
                    in.insert(in.end(), buf, buf + n);
            }
            while (Serve(in)) {
            }
            const auto now = std::chrono::steady_clock::now();
            if (!streaming_) {
                next = now;
                continue;
            }
            for (; next <= now; next += std::chrono::milliseconds(1))
                SendFrame(index++);
        }
    }

    PtyPair& pty_;
    mutable std::mutex lock_;
    std::vector<RegisterAccess> accesses_;
    std::vector<Bytes> requests_;
    bool streaming_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
