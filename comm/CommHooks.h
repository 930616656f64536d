// What the communication library needs from its surroundings, injectable:
// how a message box is shown (the GUI installs its own; the default prints to
// standard error), how the library sleeps (tests record the pauses instead of
// waiting them out) and how it beeps (silent unless the application installs
// a beep; the GUI installs the system beep).
#pragma once

#include <functional>
#include <string>

namespace wirelay {

using MessageBoxFunction = std::function<void(const std::string& text)>;
using SleepFunction = std::function<void(unsigned milliseconds)>;
using BeepFunction = std::function<void()>;

// Null restores the default. Install before the communication thread starts.
void SetMessageBoxFunction(MessageBoxFunction show);
void SetSleepFunction(SleepFunction sleep);
void SetBeepFunction(BeepFunction beep);

void ShowMessageBox(const std::string& text);
void SleepMs(unsigned milliseconds);
void Beep();

} // namespace wirelay
