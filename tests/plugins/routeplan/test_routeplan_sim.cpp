// The motion commands against the simulated T8 on a pseudo-terminal: the
// servo, homing, a run through three points that takes the time its speeds
// and dwells give, a jog that stops on its time-out, and an alarm that keeps
// the servo off.
#include "DriveSim.h"
#include "RouteplanFixture.h"
#include "SerialFormat.h"
#include "TempDir.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace routeplan;

namespace {

constexpr double kRevolution = 131072; // counts of the T8's encoder

class SimMotion : public testing::Test {
protected:
    explicit SimMotion(std::uint16_t alarm = 0) : sim_(Config(alarm)), jobs_(context_.Ctx()) {
        sim_.Start();
        EXPECT_EQ(master_._OpenDevicePort(sim_.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1),
                  1);
        master_.SetSlaveAddress(1);
        master_.SetWaitWriteTime(1);
        master_.SetPreCountQueTimes(400);
    }
    ~SimMotion() override { master_.CloseComPort(); }

    static drivesim::SimConfig Config(std::uint16_t alarm) {
        drivesim::SimConfig config;
        config.model = drivesim::DriveModel::T8;
        config.dataDir = std::filesystem::current_path().string();
        config.alarm = alarm;
        return config;
    }
    int Run(int code) { return jobs_.Run(code, link_, motion_); }
    // Reads the motion state and the fed-back position until `done` holds.
    bool Watch(const std::function<bool()>& done, const char* what) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (true) {
            if (Run(CS_CheckMotorStatus) != kResultSuccess ||
                Run(CS_ReadPosFeedback) != kResultSuccess) {
                ADD_FAILURE() << "no answer while waiting for " << what;
                return false;
            }
            sawRunning_ = sawRunning_ || motion_.motionState == 2;
            if (done())
                return true;
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "timed out waiting for " << what;
                return false;
            }
        }
    }
    bool AtRest() {
        return Watch([this] { return motion_.motionState == 0; }, "the motor at rest");
    }

    RouteplanContext context_;
    drivesim::DriveSim sim_;
    CModbus master_;
    MotionLinkOn<CModbus> link_{master_};
    RouteplanJobs jobs_;
    MotionValues motion_;
    bool sawRunning_ = false;
};

TEST_F(SimMotion, HomesAndRunsFromPointOneToPointThree) {
    ASSERT_EQ(Run(CS_ServoOn), kResultSuccess);
    ASSERT_EQ(Run(CS_CheckMotorStatus), kResultSuccess);
    EXPECT_TRUE(motion_.servoOn);
    ASSERT_EQ(Run(CS_Homing), kResultSuccess);
    ASSERT_TRUE(AtRest());
    EXPECT_LT(std::abs(motion_.feedback), 50) << "homing makes its place position 0";

    ASSERT_EQ(Run(CS_ReadAllParms), kResultSuccess);
    const std::int32_t targets[] = {20000, 70000, static_cast<std::int32_t>(kRevolution)};
    for (int p = 0; p < 3; ++p)
        jobs_.values.points[p] = {targets[p], 600, ""};
    ASSERT_EQ(Run(CS_TransAllParms), kResultSuccess);
    motion_.endPoint = 3;
    motion_.delayMs = 1000; // two dwells: the run takes seconds
    ASSERT_EQ(Run(CS_Run), kResultSuccess);
    ASSERT_TRUE(Watch([this] { return sawRunning_ && motion_.motionState == 0; }, "the run"));
    EXPECT_NEAR(motion_.feedback, targets[2], 50);
}

TEST_F(SimMotion, AContinuousJogStopsWhenItsTimeOutRunsOut) {
    ASSERT_EQ(Run(CS_ServoOn), kResultSuccess);
    ASSERT_EQ(Run(CS_ReadPosFeedback), kResultSuccess);
    const std::int32_t start = motion_.feedback;
    motion_.jogPending = motion_.runForward = true;
    motion_.speedUpdate = 1;
    motion_.jogSpeed = 100;
    ASSERT_EQ(Run(CS_ReadPosFeedback), kResultSuccess);
    ASSERT_TRUE(Watch([this] { return motion_.motionState == 1; }, "the jog"));
    ASSERT_TRUE(AtRest()); // no stop was sent
    const std::int32_t stopped = motion_.feedback;
    EXPECT_GT(stopped - start, 1000);
    EXPECT_LT(stopped - start, kRevolution); // 100 r/min for 0.3 s is 0.5 revolutions
    ASSERT_EQ(Run(CS_ReadPosFeedback), kResultSuccess);
    EXPECT_NEAR(motion_.feedback, stopped, 50);
}

class SimAlarm : public SimMotion {
protected:
    SimAlarm() : SimMotion(14) {}
};

TEST_F(SimAlarm, ServoOnIsRefusedWhileAnAlarmIsRaised) {
    EXPECT_EQ(Run(CS_ServoOn), kResultFailure);
    EXPECT_EQ(motion_.alarmCode, 14);
    unsigned char on = 1; // even without the plug-in's check the drive refuses
    EXPECT_EQ(master_.WriteMultipleCoils(38, 1, &on), 0);
    ASSERT_EQ(Run(CS_CheckMotorStatus), kResultSuccess);
    EXPECT_FALSE(motion_.servoOn);
}

} // namespace
