#include "TestPluginLog.h"

#include <mutex>
#include <thread>

namespace {

constexpr std::size_t kMaxEntries = 20000;

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}
std::vector<std::string>& Entries() {
    static std::vector<std::string> entries;
    return entries;
}
bool recording = true;
std::thread::id uiThread;

} // namespace

void TestLogRecord(const std::string& event) {
    std::lock_guard guard(Lock());
    if (recording && Entries().size() < kMaxEntries)
        Entries().push_back(event);
}

void TestLogStart() {
    std::lock_guard guard(Lock());
    Entries().clear();
    recording = true;
}

std::vector<std::string> TestLogTake() {
    std::lock_guard guard(Lock());
    recording = false;
    return std::move(Entries());
}

void TestLogMarkUiThread() {
    std::lock_guard guard(Lock());
    uiThread = std::this_thread::get_id();
}

bool TestLogOnUiThread() {
    std::lock_guard guard(Lock());
    return std::this_thread::get_id() == uiThread;
}
