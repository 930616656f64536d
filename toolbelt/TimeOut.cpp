#include "TimeOut.h"

#include <atomic>
#include <time.h>

namespace {

std::uint32_t SystemTicks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

std::atomic<TickSource> g_source{&SystemTicks};

} // namespace

std::uint32_t GetTickCount() {
    return g_source.load(std::memory_order_relaxed)();
}

void SetTickSource(TickSource source) {
    g_source.store(source != nullptr ? source : &SystemTicks, std::memory_order_relaxed);
}

void CTimeOut::Reset() {
    start_ = GetTickCount();
    last_ = start_;
}

int CTimeOut::IsTimeOut() {
    last_ = GetTickCount();
    // Unsigned subtraction keeps a running time-out right across the wrap.
    return static_cast<std::uint32_t>(last_ - start_) > limit_ ? 1 : 0;
}
