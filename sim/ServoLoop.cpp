#include "ServoLoop.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace drivesim {
namespace {

constexpr double kDt = ServoLoop::kStepSeconds;
constexpr double kCurrentLoopSeconds = 0.2e-3;
constexpr double kNominalBus = 311;   // V: a rectified 220 V supply
constexpr double kBusClamp = 375;     // V: the regenerative resistor takes over here
constexpr double kBusSeconds = 10e-3; // bus capacitor against supply and load
constexpr double kTorqueRipple = 0.3; // % rated torque, cogging and current ripple

// One step of a first-order lag with time constant `seconds`.
double Lag(double value, double target, double seconds) {
    return value + (target - value) * kDt / (seconds + kDt);
}

std::int32_t Shown(double value) {
    return static_cast<std::int32_t>(std::lround(value));
}

} // namespace

ServoLoop::ServoLoop(const MotorSpec& motor, double trueInertiaRatio)
    : motor_(motor), trueInertiaRatio_(trueInertiaRatio), busVolts_(kNominalBus),
      shownBusVolts_(kNominalBus) {}

double ServoLoop::Noise(double amplitude) {
    return std::uniform_real_distribution<double>(-amplitude, amplitude)(random_);
}

void ServoLoop::Step(const ServoSettings& settings, bool servoOn, double commandMove) {
    if (servoOn) {
        commandFraction_ += commandMove;
        const double whole = std::trunc(commandFraction_);
        commandCounts_ += static_cast<std::int64_t>(whole);
        commandFraction_ -= whole;
        const double commandSpeed = commandMove / motor_.countsPerUnit / kDt;
        feedForward_ = Lag(feedForward_, commandSpeed * settings.feedForward,
                           settings.feedForwardFilterMs * 1e-3);
        const double error = static_cast<double>(commandCounts_ - counts_);
        speedReference_ = settings.positionGain * error / motor_.countsPerUnit + feedForward_;
        torqueCommand_ =
            Lag(torqueCommand_, VelocityLoop(settings), settings.torqueFilterMs * 1e-3);
    } else {
        // A drive without power on the motor lets its command follow the
        // encoder, so switching on never jumps.
        commandCounts_ = counts_;
        commandFraction_ = 0;
        feedForward_ = speedReference_ = integral_ = torqueCommand_ = 0;
    }
    torque_ = Lag(torque_, torqueCommand_, kCurrentLoopSeconds);
    MoveMachine(servoOn ? torque_ + Noise(kTorqueRipple) : 0);
    UpdateBus();
}

double ServoLoop::VelocityLoop(const ServoSettings& settings) {
    // The gain in Hz becomes a torque gain through the inertia the drive
    // assumes: a wrong ratio gives a slower or faster loop than asked for.
    const double assumed = 1 + settings.inertiaRatio / 100;
    const double gain = 2 * std::numbers::pi * settings.velocityGainHz * assumed /
                        motor_.accelPerPercent; // % per unit/s
    const double proportional = gain * (speedReference_ - measuredSpeed_);
    if (settings.integrationMs > 0)
        integral_ += proportional * kDt / (settings.integrationMs * 1e-3);
    const double limit = std::min(settings.torqueLimit, motor_.peakTorque);
    const double wanted = proportional + integral_;
    const double torque = std::clamp(wanted, -limit, limit);
    integral_ -= wanted - torque; // no wind-up while limited
    return torque;
}

void ServoLoop::MoveMachine(double torque) {
    const double inertia = 1 + trueInertiaRatio_ / 100;
    double accel = 0;
    if (velocity_ != 0) {
        const double friction =
            std::copysign(motor_.coulombFriction, velocity_) + motor_.viscousFriction * velocity_;
        accel = motor_.accelPerPercent * (torque - friction) / inertia;
    } else if (std::abs(torque) > motor_.coulombFriction) { // breaks away
        accel = motor_.accelPerPercent * (torque - std::copysign(motor_.coulombFriction, torque)) /
                inertia;
    }
    double next = velocity_ + accel * kDt;
    if (velocity_ * next < 0)
        next = 0; // friction stops the motor; it does not turn it round
    position_ += (velocity_ + next) / 2 * kDt;
    velocity_ = next;
    counts_ = static_cast<std::int64_t>(std::floor(position_ * motor_.countsPerUnit));
    const std::int64_t old = countHistory_[historyAt_];
    countHistory_[historyAt_] = counts_;
    historyAt_ = (historyAt_ + 1) % kSpeedWindow;
    measuredSpeed_ =
        static_cast<double>(counts_ - old) / motor_.countsPerUnit / (kSpeedWindow * kDt);
}

void ServoLoop::UpdateBus() {
    // Motoring draws the bus down through the rectifier; braking feeds
    // energy back until the regenerative resistor clamps it.
    const double power = motor_.ratedPowerW * torque_ / 100 * velocity_ / motor_.ratedSpeed;
    const double target =
        power >= 0 ? kNominalBus - 0.02 * power : std::min(kBusClamp, kNominalBus - 0.1 * power);
    busVolts_ = Lag(busVolts_, target, kBusSeconds);
    shownBusVolts_ = busVolts_ + Noise(0.6);
    shownCurrent_ = std::max(0.0, motor_.ratedCurrentA * std::abs(torque_) / 100 + Noise(0.02));
}

SignalValues ServoLoop::Signals() const {
    SignalValues v{};
    auto set = [&v](Signal s, std::int64_t value) {
        v[static_cast<std::size_t>(s)] =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    };
    set(Signal::SpeedFeedback, Shown(measuredSpeed_ * motor_.displayPerUnitPS));
    set(Signal::SpeedCommand, Shown(speedReference_ * motor_.displayPerUnitPS));
    set(Signal::TorqueCommand, Shown(torqueCommand_ * 10));
    set(Signal::MotorCurrent, Shown(shownCurrent_ * 100));
    set(Signal::BusVoltage, Shown(shownBusVolts_));
    set(Signal::PositionFeedback, counts_ - feedbackOrigin_);
    set(Signal::PositionCommand, commandCounts_ - commandOrigin_);
    set(Signal::PositionError, commandCounts_ - counts_);
    return v;
}

} // namespace drivesim
