// The tuning plug-in's own worker thread: created with the plug-in and held
// suspended for its whole life (all work runs in the host's cycle entry),
// so it never touches the drive; it only ends when the plug-in goes.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace gainwise {

class SuspendedWorker {
public:
    SuspendedWorker() = default;
    ~SuspendedWorker() { Stop(); }
    SuspendedWorker(const SuspendedWorker&) = delete;
    SuspendedWorker& operator=(const SuspendedWorker&) = delete;

    // Creates the thread, suspended at once.
    void Create() {
        if (thread_.joinable())
            return;
        stop_ = false;
        thread_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_; });
        });
    }
    bool Exists() const { return thread_.joinable(); }
    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace gainwise
