// The command source of `--motion demo`: a move out and back, over and over,
// with the drive's own acceleration and deceleration times and a dwell
// between moves.
#pragma once

#include "ServoSettings.h"

namespace drivesim {

enum class MotionMode { Standstill, Demo };

class MotionDemo {
public:
    // `displayPerUnitPS` turns the acceleration parameters' "per 1000 r/min"
    // (mm/s) into units; the move is sized for the motor: 10 revolutions
    // at 2000 r/min, or 250 mm at 500 mm/s on a linear motor.
    explicit MotionDemo(const MotorSpec& motor);

    // How far the command moves in one step of `seconds`, in units.
    double Step(const ServoSettings& settings, double seconds);
    // Starts again from a dwell, as after switching the servo on.
    void Restart();

private:
    double distance_, topSpeed_, displayPerUnitPS_;
    static constexpr double kDwellSeconds = 0.3;

    double remaining_ = 0; // of the move under way
    double speed_ = 0;
    double direction_ = -1;
    double dwelt_ = 0;
};

} // namespace drivesim
