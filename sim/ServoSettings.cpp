#include "ServoSettings.h"

#include "DriveState.h"

#include <numbers>

namespace drivesim {
namespace {

// Rotary: rated torque (N·m) over rotor inertia (kg·m²) gives rad/s² at
// 100 %; per 1 % and in revolutions.
constexpr double RotaryAccelPerPercent(double ratedTorque, double rotorInertia) {
    return ratedTorque / rotorInertia / 100 / (2 * std::numbers::pi);
}

// Parameter numbers of the settings: T5/W5 by Pr number, T8 by register.
struct SettingNumbers {
    int positionGain, velocityGain, integration, torqueFilter, feedForward, feedForwardFilter,
        inertiaRatio, torqueLimit, accel, decel;
};
constexpr SettingNumbers kT5Numbers{100, 101, 102, 104, 110, 111, 4, 13, 36, 37};
constexpr SettingNumbers kT8Numbers{16, 17, 18, 20, 26, 27, 32, 8, 34, 35};

} // namespace

MotorSpec MotorFor(DriveModel model) {
    switch (model) {
    case DriveModel::W5: // 750 W linear: 375 N rated force on a 3 kg mover, 1 µm scale
        return {375.0 / 3.0 * 1000 / 100, 1000, 1, 2000, 750, 4.0, 300, 3, 0.001};
    case DriveModel::T8: // 750 W, 2.39 N·m, 0.9e-4 kg·m², 17-bit encoder
        return {RotaryAccelPerPercent(2.39, 0.9e-4), 131072, 60, 50, 750, 4.7, 300, 2, 0.06};
    case DriveModel::T5:
    default: // 400 W, 1.27 N·m, 0.3e-4 kg·m², 17-bit encoder
        return {RotaryAccelPerPercent(1.27, 0.3e-4), 131072, 60, 50, 400, 2.8, 300, 2, 0.06};
    }
}

ServoSettings ReadServoSettings(const DriveState& state) {
    const SettingNumbers& n = state.Model() == DriveModel::T8 ? kT8Numbers : kT5Numbers;
    ServoSettings s;
    auto read = [&](int number, double scale, double& into) {
        if (auto value = state.Value(number))
            into = *value * scale;
    };
    read(n.positionGain, 0.1, s.positionGain);
    read(n.velocityGain, 0.1, s.velocityGainHz);
    read(n.integration, 0.1, s.integrationMs);
    read(n.torqueFilter, 0.01, s.torqueFilterMs);
    read(n.feedForward, 0.001, s.feedForward);
    read(n.feedForwardFilter, 0.01, s.feedForwardFilterMs);
    read(n.inertiaRatio, 1, s.inertiaRatio);
    read(n.torqueLimit, 1, s.torqueLimit);
    read(n.accel, 1, s.accelMsPer1000);
    read(n.decel, 1, s.decelMsPer1000);
    return s;
}

} // namespace drivesim
