// The drive's control loops and the machine behind them, stepped every 0.1 ms:
// a position loop and a PI velocity loop tuned from the drive's parameters
// (which assume the inertia ratio the drive was told), a torque filter and
// limit, a fast current loop, and a motor with its load (the true inertia
// ratio), Coulomb and viscous friction, a quantising encoder and the DC bus.
#pragma once

#include "ServoSettings.h"
#include "SignalCatalog.h"

#include <array>
#include <cstdint>
#include <random>

namespace drivesim {

class ServoLoop {
public:
    static constexpr double kStepSeconds = 1e-4;

    // `trueInertiaRatio`: load to motor inertia in %, whatever the drive believes.
    ServoLoop(const MotorSpec& motor, double trueInertiaRatio);

    // One step. `commandMove` is how far the position command moves in this
    // step, in encoder counts (fractions carry over). With the servo off the
    // motor runs free and the command follows the encoder.
    void Step(const ServoSettings& settings, bool servoOn, double commandMove);

    // The signals as the drive shows them now (the frame number is left 0).
    SignalValues Signals() const;

    // What the inertia estimation watches: torque (% rated) and speed (units/s).
    double DeliveredTorque() const { return torque_; }
    double MeasuredSpeed() const { return measuredSpeed_; }

    // The position feedback / command signals restart from 0 here; the
    // control loops keep working on the true positions.
    void ClearEncoder() { feedbackOrigin_ = counts_; }
    void ClearPositionCommand() { commandOrigin_ = commandCounts_; }
    // The true encoder and command positions, whatever the scope cleared.
    std::int64_t EncoderCounts() const { return counts_; }
    std::int64_t CommandCounts() const { return commandCounts_; }

private:
    static constexpr int kSpeedWindow = 10; // steps: speed is measured over 1 ms

    double Noise(double amplitude);
    double VelocityLoop(const ServoSettings& settings);
    void MoveMachine(double torque);
    void UpdateBus();

    MotorSpec motor_;
    double trueInertiaRatio_;
    std::minstd_rand random_{20260507};

    // Machine.
    double position_ = 0; // units
    double velocity_ = 0; // units/s
    std::int64_t counts_ = 0;
    std::array<std::int64_t, kSpeedWindow> countHistory_{};
    int historyAt_ = 0;
    double busVolts_;
    double shownBusVolts_, shownCurrent_ = 0; // as measured, with their noise

    // Drive.
    std::int64_t commandCounts_ = 0;
    double commandFraction_ = 0;
    double feedForward_ = 0;    // units/s, filtered
    double speedReference_ = 0; // units/s
    double measuredSpeed_ = 0;  // units/s
    double integral_ = 0;       // %
    double torqueCommand_ = 0;  // %, filtered and limited
    double torque_ = 0;         // %, what the current loop delivers
    std::int64_t feedbackOrigin_ = 0, commandOrigin_ = 0;
};

} // namespace drivesim
