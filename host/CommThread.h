// The communication thread: for the life of the program it gives Portdesk's
// CommLoop and then every tool's ExternThread their turn on the serial link.
//
// Unlike a thread that spins without pause, it rests briefly after a pass in
// which no plug-in sent anything to the drive (the SharedContext's traffic
// counter did not move), so an idle program costs almost no processor time
// while a posted request still starts within about a millisecond.
#pragma once

#include "PluginTable.h"
#include "SharedContext.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

class CommThread {
public:
    // The pause after a pass without drive traffic.
    static constexpr std::chrono::microseconds kIdlePause{1000};

    explicit CommThread(SharedContext& ctx);
    ~CommThread(); // stops and joins
    CommThread(const CommThread&) = delete;
    CommThread& operator=(const CommThread&) = delete;

    // Starts the thread held: it waits until Release.
    void Start();

    // Binds the entries (call before Release) and lets the thread run.
    void Release(const PluginTable& plugins, void* commLoopArg);

    // Lets the current pass finish, so no drive request is cut off, and joins.
    void Stop();

    std::uint64_t Passes() const { return passes_.load(); }
    bool Holding() const { return starting_.load(); }

private:
    void Run();
    void Pass();

    SharedContext& ctx_;
    std::atomic<bool> starting_{true};
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> passes_{0};
    CommLoopFn commLoop_ = nullptr;
    void* commLoopArg_ = nullptr;
    std::array<ExternThreadFn, kExternCallOrder.size()> externs_{};
    std::thread thread_;
};
