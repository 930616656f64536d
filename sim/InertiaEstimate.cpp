#include "InertiaEstimate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace drivesim {
namespace {

constexpr double kDwellSeconds = 0.15; // before, between and after the strokes
constexpr int kStepsPerRecord = 10;    // 1 ms of 0.1 ms steps, the speed window
constexpr double kRecordSeconds = 1e-3;
constexpr int kSpan = 4;            // records an acceleration is taken over
constexpr double kSlowShare = 0.05; // of the top speed: static friction rules below
constexpr std::size_t kFewestSamples = 50;

// The strokes of each pattern in units of one stroke, in the tool's list
// order: out and back twice, out and back in both directions, out and back
// once, one stroke.
const std::array<std::vector<double>, 8> kPatterns = {{
    {1, -1, 1, -1},
    {-1, 1, -1, 1},
    {1, -1, -1, 1},
    {-1, 1, 1, -1},
    {1, -1},
    {-1, 1},
    {1},
    {-1},
}};

// Solves the 3 × 3 system m · x = r (Cramer's rule); nullopt when singular.
std::optional<std::array<double, 3>> Solve(const std::array<std::array<double, 3>, 3>& m,
                                           const std::array<double, 3>& r) {
    auto det = [](const std::array<std::array<double, 3>, 3>& a) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    if (std::abs(d) < 1e-12)
        return std::nullopt;
    std::array<double, 3> x{};
    for (int c = 0; c < 3; ++c) {
        auto replaced = m;
        for (int row = 0; row < 3; ++row)
            replaced[row][c] = r[row];
        x[c] = det(replaced) / d;
    }
    return x;
}

} // namespace

InertiaEstimate::InertiaEstimate(const MotorSpec& motor) : motor_(motor) {
    const bool rotary = motor.displayPerUnitPS > 1;
    stroke_ = rotary ? 1 : 50;                                // one revolution, or 50 mm
    topSpeed_ = rotary ? 1000 / motor.displayPerUnitPS : 300; // 1000 r/min, or 300 mm/s
    accel_ = rotary ? 300 : 5000;                             // units/s²
}

bool InertiaEstimate::Start(int pattern) {
    Stop();
    if (pattern < 1 || pattern > static_cast<int>(kPatterns.size()))
        return false;
    end_.reset();
    pattern_ = pattern;
    strokes_ = kPatterns[pattern - 1];
    std::reverse(strokes_.begin(), strokes_.end()); // taken from the back
    remaining_ = speed_ = dwelt_ = torqueSum_ = 0;
    stepsInRecord_ = 0;
    records_.clear();
    return true;
}

void InertiaEstimate::Stop() {
    if (!Running())
        return;
    pattern_ = 0;
    end_ = EstimateEnd{};
}

double InertiaEstimate::CommandStep(double seconds) {
    if (!Running())
        return 0;
    if (remaining_ == 0) { // between strokes
        dwelt_ += seconds;
        if (dwelt_ < kDwellSeconds)
            return 0;
        dwelt_ = 0;
        if (strokes_.empty()) {
            Finish();
            return 0;
        }
        remaining_ = stroke_ * strokes_.back();
        strokes_.pop_back();
    }
    const double direction = remaining_ > 0 ? 1 : -1;
    const double left = std::abs(remaining_);
    if (speed_ * speed_ / (2 * accel_) >= left)
        speed_ = std::max(0.0, speed_ - accel_ * seconds);
    else
        speed_ = std::min(topSpeed_, speed_ + accel_ * seconds);
    double travel = speed_ * seconds;
    if (travel >= left || speed_ == 0) { // arrived
        travel = left;
        speed_ = 0;
    }
    remaining_ -= direction * travel;
    if (std::abs(remaining_) < 1e-12)
        remaining_ = 0;
    return direction * travel;
}

void InertiaEstimate::Observe(double torquePercent, double measuredSpeed) {
    if (!Running())
        return;
    torqueSum_ += torquePercent;
    if (++stepsInRecord_ == kStepsPerRecord) {
        records_.push_back({torqueSum_ / kStepsPerRecord, measuredSpeed});
        torqueSum_ = 0;
        stepsInRecord_ = 0;
    }
}

void InertiaEstimate::Finish() {
    pattern_ = 0;
    end_ = EstimateEnd{Fit()};
}

std::optional<EstimateEnd> InertiaEstimate::TakeEnd() {
    return std::exchange(end_, std::nullopt);
}

// Least squares of torque = α · acceleration + c · sign(speed) + β · speed
// over spans of kSpan records that keep one direction well above standstill.
// The speed is a mean over each record, so the difference of two speeds
// weighs the acceleration like a trapezoid: the torque is weighed alike.
std::optional<int> InertiaEstimate::Fit() const {
    std::array<std::array<double, 3>, 3> m{};
    std::array<double, 3> r{};
    std::size_t samples = 0;
    const double slow = kSlowShare * topSpeed_;
    for (std::size_t j = kSpan; j < records_.size(); ++j) {
        const double sign = records_[j].speed > 0 ? 1 : -1;
        bool steady = true;
        double torque = (records_[j - kSpan].torque + records_[j].torque) / 2;
        double speed = 0;
        for (std::size_t k = j - kSpan; k <= j; ++k) {
            steady = steady && records_[k].speed * sign > slow;
            if (k != j - kSpan && k != j)
                torque += records_[k].torque;
            speed += records_[k].speed;
        }
        if (!steady)
            continue;
        torque /= kSpan;
        speed /= kSpan + 1;
        const double accel =
            (records_[j].speed - records_[j - kSpan].speed) / (kSpan * kRecordSeconds);
        const std::array<double, 3> x{accel, sign, speed};
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b)
                m[a][b] += x[a] * x[b];
            r[a] += x[a] * torque;
        }
        ++samples;
    }
    if (samples < kFewestSamples)
        return std::nullopt;
    const auto fit = Solve(m, r);
    if (!fit || (*fit)[0] <= 0)
        return std::nullopt;
    const double inertia = (*fit)[0] * motor_.accelPerPercent; // motor plus load, motor = 1
    return static_cast<int>(std::clamp(std::lround((inertia - 1) * 100), 0L, 10000L));
}

} // namespace drivesim
