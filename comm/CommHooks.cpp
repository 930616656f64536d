#include "CommHooks.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <thread>

namespace wirelay {
namespace {

std::mutex gHooksLock;
MessageBoxFunction gShow;
SleepFunction gSleep;
BeepFunction gBeep;
OpenFunction gOpen;

// A copy of an installed hook, taken under the lock and called outside it.
template <typename Hook>
Hook Installed(const Hook& hook) {
    std::lock_guard lock(gHooksLock);
    return hook;
}

} // namespace

void SetMessageBoxFunction(MessageBoxFunction show) {
    std::lock_guard lock(gHooksLock);
    gShow = std::move(show);
}

void SetSleepFunction(SleepFunction sleep) {
    std::lock_guard lock(gHooksLock);
    gSleep = std::move(sleep);
}

void SetBeepFunction(BeepFunction beep) {
    std::lock_guard lock(gHooksLock);
    gBeep = std::move(beep);
}

void SetOpenFunction(OpenFunction open) {
    std::lock_guard lock(gHooksLock);
    gOpen = std::move(open);
}

void ShowMessageBox(const std::string& text) {
    if (const auto show = Installed(gShow))
        show(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

void SleepMs(unsigned milliseconds) {
    SleepMsUntil(milliseconds, [](auto left) {
        std::this_thread::sleep_for(left);
        return false;
    });
}

void SleepMsUntil(unsigned milliseconds, const SleepStep& step) {
    if (const auto sleep = Installed(gSleep)) {
        sleep(milliseconds);
        return;
    }
    using namespace std::chrono;
    const auto end = steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto left = end - steady_clock::now(); left > left.zero();
         left = end - steady_clock::now())
        if (step(duration_cast<microseconds>(left)))
            return;
}

void Beep() {
    if (const auto beep = Installed(gBeep))
        beep();
}

int OpenDeviceFile(const char* path, int flags) {
    const auto open = Installed(gOpen);
    return open ? open(path, flags) : ::open(path, flags);
}

} // namespace wirelay
