// The servo loop behind the scope's signals: a quiet standstill, the demo
// move on every motor, the drive's own tuning (inertia ratio, torque limit,
// loop gains) showing in the signals. (The clear commands: test_sim_scope_pty.cpp.)
#include "MotionDemo.h"
#include "ServoLoop.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

std::int32_t Get(const SignalValues& v, Signal s) {
    return v[static_cast<std::size_t>(s)];
}

struct Stats {
    std::int32_t maxSpeed = 0, maxTorque = 0, maxError = 0, maxCurrent = 0;
    std::int32_t maxSpeedError = 0; // the velocity loop's tracking
    std::int32_t minBus = 1000, maxBus = 0;
    SignalValues last{};
};

// `seconds` of the loop, following the demo move when `demo` is set.
Stats Simulate(ServoLoop& loop, const MotorSpec& motor, const ServoSettings& settings,
               double seconds, bool servoOn, bool demo) {
    MotionDemo motion(motor);
    Stats r;
    for (int step = 0; step < seconds / ServoLoop::kStepSeconds; ++step) {
        const double move =
            demo ? motion.Step(settings, ServoLoop::kStepSeconds) * motor.countsPerUnit : 0;
        loop.Step(settings, servoOn, move);
        const SignalValues v = loop.Signals();
        r.maxSpeed = std::max(r.maxSpeed, std::abs(Get(v, Signal::SpeedFeedback)));
        r.maxTorque = std::max(r.maxTorque, std::abs(Get(v, Signal::TorqueCommand)));
        r.maxError = std::max(r.maxError, std::abs(Get(v, Signal::PositionError)));
        r.maxSpeedError = std::max(r.maxSpeedError, std::abs(Get(v, Signal::SpeedCommand) -
                                                             Get(v, Signal::SpeedFeedback)));
        r.maxCurrent = std::max(r.maxCurrent, Get(v, Signal::MotorCurrent));
        r.minBus = std::min(r.minBus, Get(v, Signal::BusVoltage));
        r.maxBus = std::max(r.maxBus, Get(v, Signal::BusVoltage));
        r.last = v;
    }
    return r;
}

Stats Demo(DriveModel model, const ServoSettings& settings, double trueRatio = 250) {
    const MotorSpec motor = MotorFor(model);
    ServoLoop loop(motor, trueRatio);
    return Simulate(loop, motor, settings, 1.05, true, true); // dwell, move, settle
}

TEST(ServoLoop, StandstillIsQuiet) {
    for (bool servoOn : {false, true}) {
        const MotorSpec motor = MotorFor(DriveModel::T5);
        ServoLoop loop(motor, 250);
        const Stats r = Simulate(loop, motor, ServoSettings{}, 1.0, servoOn, false);
        EXPECT_LE(r.maxSpeed, 1) << servoOn;
        EXPECT_LE(r.maxError, 2) << servoOn;
        EXPECT_LE(r.maxCurrent, 3) << servoOn; // 0.03 A
        EXPECT_GE(r.minBus, 310) << servoOn;
        EXPECT_LE(r.maxBus, 312) << servoOn;
    }
}

TEST(ServoLoop, TheDemoMoveOnEveryMotor) {
    struct Case {
        DriveModel model;
        std::int32_t topSpeed; // r/min or mm/s
    } cases[] = {{DriveModel::T5, 2000}, {DriveModel::T8, 2000}, {DriveModel::W5, 500}};
    for (const Case& c : cases) {
        const Stats r = Demo(c.model, ServoSettings{});
        EXPECT_NEAR(r.maxSpeed, c.topSpeed, c.topSpeed / 20) << static_cast<int>(c.model);
        EXPECT_GT(r.maxTorque, 50) << "accelerating takes torque";
        EXPECT_LE(std::abs(Get(r.last, Signal::SpeedFeedback)), 5) << "at rest after the move";
        EXPECT_LE(std::abs(Get(r.last, Signal::PositionError)), 50) << "settled";
    }
}

TEST(ServoLoop, TheDriveTuningShowsInTheSignals) {
    ServoSettings matched;
    ServoSettings believesNoLoad;
    believesNoLoad.inertiaRatio = 0; // the velocity loop gets 3.5 times too little gain
    ServoSettings limited;
    limited.torqueLimit = 5;
    const Stats good = Demo(DriveModel::T5, matched);
    const Stats soft = Demo(DriveModel::T5, believesNoLoad);
    const Stats heavier = Demo(DriveModel::T5, matched, 1000);
    const Stats weak = Demo(DriveModel::T5, limited);
    EXPECT_GT(soft.maxSpeedError, good.maxSpeedError * 2);
    EXPECT_GT(heavier.maxSpeedError, good.maxSpeedError * 2);
    EXPECT_GT(heavier.maxCurrent, good.maxCurrent * 2) << "a heavier load takes more current";
    EXPECT_EQ(weak.maxTorque, 50) << "held at the limit of 5 %";
    EXPECT_LE(good.maxTorque, 3000);
}

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
        const std::int64_t position = Get(loop.Signals(), Signal::PositionFeedback);
        if (r.riseSteps < 0 && position >= 0.9 * kStep)
            r.riseSteps = step;
        r.peak = std::max<std::int64_t>(r.peak, position - std::int64_t(kStep));
    }
    return r;
}

// A stiffer setting (the tuning tool's registers 16, 17, 18, 20 on the T8)
// answers a position step faster and with less damping.
TEST(ServoLoop, AStifferSettingIsFasterAndLessDamped) {
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
