// The drive's own load inertia estimation: it runs one of eight rotation
// patterns on the motor through the position loop, watches the torque the
// current loop delivers and the speed the encoder measures, and fits
// torque = inertia · acceleration + Coulomb and viscous friction to them.
#pragma once

#include "ServoSettings.h"

#include <optional>
#include <vector>

namespace drivesim {

// How an estimation ended: with the inertia ratio in %, or without one
// (stopped, or the motion told too little).
struct EstimateEnd {
    std::optional<int> ratio;
};

class InertiaEstimate {
public:
    explicit InertiaEstimate(const MotorSpec& motor);

    // Starts pattern 1..8 (the tuning tool's list order); false for any
    // other number, which starts nothing.
    bool Start(int pattern);
    // Ends a running pattern without an estimate.
    void Stop();
    bool Running() const { return pattern_ != 0; }

    // How far the position command moves in a step of `seconds`, in units.
    double CommandStep(double seconds);
    // What the loop saw in that step: the delivered torque (% rated) and the
    // speed measured from the encoder (units/s).
    void Observe(double torquePercent, double measuredSpeed);

    // The end of the last pattern, once.
    std::optional<EstimateEnd> TakeEnd();

private:
    struct Record {
        double torque; // mean over 1 ms
        double speed;  // measured at its end
    };
    void Finish();
    std::optional<int> Fit() const;

    MotorSpec motor_;
    double stroke_, topSpeed_, accel_; // units, units/s, units/s²
    int pattern_ = 0;
    std::vector<double> strokes_; // signed, still to run
    double remaining_ = 0, speed_ = 0, dwelt_ = 0;
    double torqueSum_ = 0;
    int stepsInRecord_ = 0;
    std::vector<Record> records_;
    std::optional<EstimateEnd> end_;
};

} // namespace drivesim
