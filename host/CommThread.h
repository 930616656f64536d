// The communication thread: for the life of the program it gives Portdesk's
// CommLoop and then every tool's ExternThread their turn on the serial link.
//
// Unlike a thread that spins without pause, it rests after a pass in which no
// plug-in sent anything to the drive (the SharedContext's traffic counter did
// not move), so an idle program costs almost no processor time. A window that
// posts a request rings the thread (SharedContext::RingCommThread), which ends
// the rest at once; an unrung request waits at most one pause.
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
    // The longest rest after a pass without drive traffic. Each wake-up costs
    // about 20 us on a virtual machine, so 1 ms rests alone would take 2 % of
    // a core; rung requests do not wait for the rest to end.
    static constexpr std::chrono::microseconds kIdlePause{4000};

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

private:
    void Run();
    void Pass();
    // Rests until the traffic counter leaves `seen` or the pause has passed.
    void Rest(std::int32_t seen);

    SharedContext& ctx_;
    std::atomic<bool> starting_{true};
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> passes_{0};
    CommLoopFn commLoop_ = nullptr;
    void* commLoopArg_ = nullptr;
    std::array<ExternThreadFn, kExternCallOrder.size()> externs_{};
    std::thread thread_;
};
