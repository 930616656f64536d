// The hook of the monitor's status block into the request loop: a read of
// the live values keeps the machine running for a while and shows it as it
// stands at the request.
#include "DriveSim.h"
#include "ServoSettings.h"

namespace drivesim {
namespace {

// Longer than any pause between a monitor's reads, short enough that an
// idle simulator soon costs nothing again.
constexpr auto kAwakeAfterRead = std::chrono::seconds(2);

} // namespace

// Called with the state locked.
void DriveSim::ObserveMonitor() {
    const auto now = Clock::now();
    dynamics_.KeepRunning(now + kAwakeAfterRead);
    dynamics_.AdvanceTo(now);
    state_.Monitor().Observe(dynamics_.Signals(), state_.ServoOn(),
                             ReadServoSettings(state_).torqueLimit, now);
}

} // namespace drivesim
