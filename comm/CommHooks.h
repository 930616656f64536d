// What the communication library needs from its surroundings, injectable:
// how a message box is shown (the GUI installs its own; the default prints to
// standard error), how the library sleeps (tests record the pauses instead of
// waiting them out), how it beeps (silent unless the application installs
// a beep; the GUI installs the system beep) and how it opens a device file
// (::open; tests inject refusals such as EACCES, which root never meets).
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace wirelay {

using MessageBoxFunction = std::function<void(const std::string& text)>;
using SleepFunction = std::function<void(unsigned milliseconds)>;
using BeepFunction = std::function<void()>;
// Returns a descriptor, or -1 with errno set.
using OpenFunction = std::function<int(const char* path, int flags)>;

// Null restores the default. Install before the communication thread starts.
void SetMessageBoxFunction(MessageBoxFunction show);
void SetSleepFunction(SleepFunction sleep);
void SetBeepFunction(BeepFunction beep);
void SetOpenFunction(OpenFunction open);

void ShowMessageBox(const std::string& text);
void SleepMs(unsigned milliseconds);
// Sleeps up to `milliseconds` in steps: `step` is given the time left, waits
// at most that long itself and returns true to end the sleep early. An
// installed sleep function takes the whole pause instead, as for SleepMs.
using SleepStep = std::function<bool(std::chrono::microseconds left)>;
void SleepMsUntil(unsigned milliseconds, const SleepStep& step);
void Beep();
int OpenDeviceFile(const char* path, int flags);

} // namespace wirelay
