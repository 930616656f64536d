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
    MessageBoxFunction show;
    {
        std::lock_guard lock(gHooksLock);
        show = gShow;
    }
    if (show)
        show(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

void SleepMs(unsigned milliseconds) {
    SleepFunction sleep;
    {
        std::lock_guard lock(gHooksLock);
        sleep = gSleep;
    }
    if (sleep)
        sleep(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SleepMsUntil(unsigned milliseconds, const SleepStep& step) {
    SleepFunction sleep;
    {
        std::lock_guard lock(gHooksLock);
        sleep = gSleep;
    }
    if (sleep) {
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
    BeepFunction beep;
    {
        std::lock_guard lock(gHooksLock);
        beep = gBeep;
    }
    if (beep)
        beep();
}

int OpenDeviceFile(const char* path, int flags) {
    OpenFunction open;
    {
        std::lock_guard lock(gHooksLock);
        open = gOpen;
    }
    return open ? open(path, flags) : ::open(path, flags);
}

} // namespace wirelay
