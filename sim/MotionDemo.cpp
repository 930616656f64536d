#include "MotionDemo.h"

#include <algorithm>
#include <cmath>

namespace drivesim {
namespace {

// units/s² from a ramp time in ms per 1000 shown speed units; a time of 0
// asks for no ramp, which the torque limit then shapes.
double Ramp(double msPer1000, double displayPerUnitPS) {
    return 1000 / displayPerUnitPS / (std::max(msPer1000, 1.0) * 1e-3);
}

} // namespace

MotionDemo::MotionDemo(const MotorSpec& motor)
    : distance_(motor.displayPerUnitPS > 1 ? 10 : 250),
      topSpeed_(motor.displayPerUnitPS > 1 ? 2000 / motor.displayPerUnitPS : 500),
      displayPerUnitPS_(motor.displayPerUnitPS) {}

void MotionDemo::Restart() {
    remaining_ = speed_ = dwelt_ = 0;
}

double MotionDemo::Step(const ServoSettings& settings, double seconds) {
    if (remaining_ <= 0) {
        dwelt_ += seconds;
        if (dwelt_ < kDwellSeconds)
            return 0;
        dwelt_ = 0;
        direction_ = -direction_;
        remaining_ = distance_;
    }
    const double decel = Ramp(settings.decelMsPer1000, displayPerUnitPS_);
    if (speed_ * speed_ / (2 * decel) >= remaining_)
        speed_ = std::max(0.0, speed_ - decel * seconds);
    else
        speed_ = std::min(topSpeed_,
                          speed_ + Ramp(settings.accelMsPer1000, displayPerUnitPS_) * seconds);
    double travel = speed_ * seconds;
    if (travel >= remaining_ || speed_ == 0) { // arrived
        travel = remaining_;
        speed_ = 0;
    }
    remaining_ -= travel;
    return direction_ * travel;
}

} // namespace drivesim
