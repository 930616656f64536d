// What the servo loop works with: the motor behind each drive family and the
// drive's own tuning parameters, read from its parameter values.
#pragma once

#include "DriveModel.h"

namespace drivesim {

class DriveState;

// The motor a drive family drives. Rotary motors count in revolutions, the
// linear W5 in millimetres ("units" below).
struct MotorSpec {
    double accelPerPercent;  // units/s² of the bare motor per 1 % rated torque
    double countsPerUnit;    // encoder counts per revolution (per mm)
    double displayPerUnitPS; // shown speed per unit/s: 60 (r/min) or 1 (mm/s)
    double ratedSpeed;       // units/s
    double ratedPowerW;
    double ratedCurrentA;   // rms at rated torque
    double peakTorque;      // % of rated torque the motor can give
    double coulombFriction; // % of rated torque, motor and load
    double viscousFriction; // % of rated torque per unit/s
};

MotorSpec MotorFor(DriveModel model);

// The drive's parameters as the loop uses them, in plain units.
struct ServoSettings {
    double positionGain = 48;     // 1/s
    double velocityGainHz = 27;   // velocity loop bandwidth the drive aims at
    double integrationMs = 21;    // velocity loop integration time
    double torqueFilterMs = 0.84; // torque command filter time constant
    double feedForward = 0.3;     // velocity feed-forward, 0..1
    double feedForwardFilterMs = 0.5;
    double inertiaRatio = 250;   // % load to motor, as the drive believes it
    double torqueLimit = 300;    // % rated torque
    double accelMsPer1000 = 100; // demo move: ms per 1000 r/min (mm/s)
    double decelMsPer1000 = 100;
};

// Reads the settings from the drive's parameter values (T5/W5 by number,
// T8 by register); a parameter missing from the table keeps its default.
ServoSettings ReadServoSettings(const DriveState& state);

} // namespace drivesim
