#include "CommThread.h"

#include <ctime>

CommThread::CommThread(SharedContext& ctx) : ctx_(ctx) {}

CommThread::~CommThread() {
    Stop();
}

void CommThread::Start() {
    starting_ = true;
    thread_ = std::thread([this] { Run(); });
}

void CommThread::Release(const PluginTable& plugins, void* commLoopArg) {
    commLoop_ = plugins[kPortdesk].commLoop;
    commLoopArg_ = commLoopArg;
    for (std::size_t i = 0; i < kExternCallOrder.size(); ++i)
        externs_[i] = plugins[kExternCallOrder[i]].externThread;
    starting_.store(false, std::memory_order_release); // publishes the entries
}

void CommThread::Stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void CommThread::Run() {
    while (!stop_.load()) {
        if (starting_.load(std::memory_order_acquire)) {
            std::this_thread::sleep_for(kIdlePause);
            continue;
        }
        const std::int32_t trafficBefore = ctx_.Int(kDriveTraffic).load(std::memory_order_relaxed);
        Pass();
        passes_.fetch_add(1, std::memory_order_relaxed);
        Rest(trafficBefore);
    }
}

void CommThread::Rest(std::int32_t seen) {
    SharedInt& word = ctx_.Int(kDriveTraffic);
    if (word.load(std::memory_order_acquire) != seen)
        return;
    timespec pause{0, std::chrono::nanoseconds(kIdlePause).count()};
    // Returns at once when the word already differs, when rung, or on timeout.
    ::syscall(SYS_futex, reinterpret_cast<std::int32_t*>(&word), FUTEX_WAIT_PRIVATE, seen,
              &pause, nullptr, 0);
}

void CommThread::Pass() {
    if (commLoop_ != nullptr)
        commLoop_(commLoopArg_);
    if (ctx_.Int(kSuspendExtern).load() != 0)
        return;
    for (ExternThreadFn entry : externs_) {
        if (entry != nullptr)
            entry(0);
    }
}
