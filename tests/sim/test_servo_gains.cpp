// The drive's loop gains shape the simulated response: a stiffer setting
// (the tuning tool's registers 16, 17, 18, 20 on the T8) answers a position
// step faster and with less damping.
#include "ServoLoop.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

struct StepResponse {
    int riseSteps = -1;    // to 90 % of the step
    std::int64_t peak = 0; // counts beyond the step
};

StepResponse PositionStep(const ServoSettings& settings) {
    const MotorSpec motor = MotorFor(DriveModel::T8);
    ServoLoop loop(motor, 250);
    constexpr double kStep = 1000; // counts
    StepResponse r;
    for (int step = 0; step < 5000; ++step) {
        loop.Step(settings, true, step == 0 ? kStep : 0);
        const auto position = loop.Signals()[static_cast<std::size_t>(Signal::PositionFeedback)];
        if (r.riseSteps < 0 && position >= 0.9 * kStep)
            r.riseSteps = step;
        r.peak = std::max<std::int64_t>(r.peak, position - static_cast<std::int64_t>(kStep));
    }
    return r;
}

TEST(ServoGains, AStifferSettingIsFasterAndLessDamped) {
    ServoSettings soft; // the defaults: 48/s, 27 Hz, 21 ms, 0.84 ms
    soft.feedForward = 0;
    ServoSettings stiff = soft;
    stiff.positionGain = 150;
    stiff.velocityGainHz = 40;
    const StepResponse slow = PositionStep(soft), fast = PositionStep(stiff);
    ASSERT_GT(slow.riseSteps, 0);
    ASSERT_GT(fast.riseSteps, 0);
    EXPECT_LT(fast.riseSteps * 2, slow.riseSteps) << "the stiffer loop rises faster";
    EXPECT_GT(fast.peak, slow.peak) << "and overshoots more";
}

} // namespace
