// Register 145 of every model: the tuning tool writes a rotation pattern
// 1..8 there to start the drive's inertia estimation, and reads it back
// while the pattern runs (0 once it has ended, or when the drive refused it:
// the servo off, or another value). At the end the inertia ratio parameter
// (T8 register 32, T5/W5 Pr004) holds the estimate.
#pragma once

#include "DriveDynamics.h"
#include "DriveState.h"

namespace drivesim {

namespace tunereg {
constexpr std::uint16_t kStart = 145;
} // namespace tunereg

// A write of register 145 (called with the state locked).
void ActOnTuningStart(DriveState& state, DriveDynamics& dynamics, std::uint16_t value,
                      Clock::time_point now);
// After the machine has stepped: a pattern that has ended leaves its estimate
// in the inertia ratio and 0 in register 145 (called with the state locked).
void CollectTuningEnd(DriveState& state, DriveDynamics& dynamics);

} // namespace drivesim
