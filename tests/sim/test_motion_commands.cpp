// The T8's own motions, stepped in simulated time without a pty: a move takes
// the time its speed gives and ends where the gear ratio and the soft limits
// say; a jog brakes its time-out after the last command; the servo switch rules
// them. (Homing and a run through the points: test_routeplan_window_sim.cpp;
// the alarm against the servo: test_routeplan_jobs.cpp.)
#include "MotionCommands.h"
#include "ServoLoop.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using namespace drivesim;

namespace {

constexpr double kRev = 131072;

struct Motion {
    Motion() : state(ShippedDrive(DriveModel::T8)), motions(MotorFor(DriveModel::T8)) {
        EXPECT_EQ(state.WriteCoils(reg::kCoilServoOn, {true}), kNoException);
    }
    // Writes `words` at `start` as a master would and tells the motions.
    void Write(std::uint16_t start, std::vector<std::uint16_t> words) {
        ASSERT_EQ(state.WriteRegisters(start, words), kNoException) << start;
        for (std::size_t i = 0; i < words.size(); ++i)
            motions.OnWrite(static_cast<std::uint16_t>(start + i), state,
                            static_cast<std::int64_t>(command));
    }
    void WriteLong(std::uint16_t low, std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        Write(low, {static_cast<std::uint16_t>(v), static_cast<std::uint16_t>(v >> 16)});
    }
    // Steps until the motion has settled; returns the simulated seconds.
    double RunOut() {
        double seconds = 0;
        while (motions.Active() && seconds < 60) {
            command += motions.Step(ServoLoop::kStepSeconds);
            seconds += ServoLoop::kStepSeconds;
        }
        return seconds;
    }
    DriveState state;
    MotionCommands motions;
    double command = 0; // counts
};

TEST(MotionCommands, ARelativeMoveTakesItsTimeAndFollowsTheGearRatio) {
    Motion m;
    m.Write(70, {2}); // counts = pulses × 70 / 75
    m.Write(1214, {600});
    m.WriteLong(182, 65536);
    EXPECT_EQ(m.motions.MotionState(), 1);
    const double seconds = m.RunOut();
    EXPECT_DOUBLE_EQ(m.command, kRev);
    EXPECT_GT(seconds, 0.1 + 0.3); // 1 revolution at 10 rev/s, and settling
    EXPECT_EQ(m.motions.MotionState(), 0);
}

TEST(MotionCommands, SoftLimitsCapTargetsAndJogs) {
    Motion m;
    m.Write(1214, {300});
    m.WriteLong(1217, 1000);
    m.WriteLong(1219, -500);
    m.WriteLong(180, 5000);
    m.RunOut();
    EXPECT_DOUBLE_EQ(m.command, 1000);
    m.Write(2001, {0x2000 + 4000});
    m.RunOut();
    EXPECT_DOUBLE_EQ(m.command, -500);
}

TEST(MotionCommands, AJogBrakesItsTimeOutAfterTheLastCommand) {
    Motion m;
    m.Write(87, {60}); // one revolution a second
    m.Write(2001, {0x1000 + 200});
    for (int i = 0; i * ServoLoop::kStepSeconds < 0.15; ++i)
        m.command += m.motions.Step(ServoLoop::kStepSeconds);
    m.Write(2001, {0x1000 + 200}); // again before the time-out: the jog goes on
    const double seconds = 0.15 + m.RunOut();
    EXPECT_GT(seconds, 0.35);
    EXPECT_LT(seconds, 2.0) << "a jog stops on its own";
    EXPECT_GT(m.command, 0.2 * kRev);
    EXPECT_LT(m.command, kRev);
}

TEST(MotionCommands, ServoOffEndsAMotionAndNothingStartsWithoutTheServo) {
    Motion m;
    m.Write(1214, {100});
    m.WriteLong(180, 100000);
    for (int i = 0; i < 100; ++i)
        m.command += m.motions.Step(ServoLoop::kStepSeconds);
    m.motions.ServoOff();
    EXPECT_EQ(m.motions.MotionState(), 0);
    EXPECT_EQ(m.motions.Step(ServoLoop::kStepSeconds), 0);
    ASSERT_EQ(m.state.WriteCoils(reg::kCoilServoOn, {false}), kNoException);
    m.WriteLong(180, 200000);
    EXPECT_FALSE(m.motions.Active());
}

} // namespace
