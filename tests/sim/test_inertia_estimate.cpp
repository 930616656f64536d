// The drive's inertia estimation on the simulated machine: every pattern
// finds the machine's true ratio from what the loop saw, on every motor,
// whatever ratio the drive was told; a stop or a pattern without motion
// gives no estimate.
#include "InertiaEstimate.h"
#include "ServoLoop.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

// Runs pattern `pattern` to its end (at most 10 s) on a drive that believes
// `believedRatio`; the end it reports.
std::optional<EstimateEnd> RunPattern(DriveModel model, double trueRatio, int pattern,
                                      double believedRatio) {
    const MotorSpec motor = MotorFor(model);
    ServoLoop loop(motor, trueRatio);
    ServoSettings settings;
    settings.inertiaRatio = believedRatio;
    InertiaEstimate estimate(motor);
    EXPECT_TRUE(estimate.Start(pattern));
    for (int step = 0; step < 100000 && estimate.Running(); ++step) {
        loop.Step(settings, true,
                  estimate.CommandStep(ServoLoop::kStepSeconds) * motor.countsPerUnit);
        estimate.Observe(loop.DeliveredTorque(), loop.MeasuredSpeed());
    }
    EXPECT_FALSE(estimate.Running()) << "the pattern ends";
    return estimate.TakeEnd();
}

TEST(InertiaEstimate, EveryPatternFindsTheTrueRatio) {
    const DriveModel models[] = {DriveModel::T5, DriveModel::T8, DriveModel::W5};
    for (DriveModel model : models) {
        for (double truth : {0.0, 250.0, 800.0}) {
            for (int pattern = 1; pattern <= 8; ++pattern) {
                // What the drive was told does not matter.
                const double believed = pattern % 2 ? 0 : 2000;
                const auto end = RunPattern(model, truth, pattern, believed);
                ASSERT_TRUE(end && end->ratio)
                    << static_cast<int>(model) << " " << truth << " " << pattern;
                // Within 5 % of the truth, or 5 points of a ratio near 0.
                EXPECT_NEAR(*end->ratio, truth, std::max(5.0, truth * 0.05))
                    << static_cast<int>(model) << " pattern " << pattern;
            }
        }
    }
}

TEST(InertiaEstimate, StopsAndRefusals) {
    InertiaEstimate estimate(MotorFor(DriveModel::T5));
    EXPECT_FALSE(estimate.Start(0));
    EXPECT_FALSE(estimate.Start(9));
    EXPECT_FALSE(estimate.Running());
    EXPECT_FALSE(estimate.TakeEnd()) << "nothing ran";

    ASSERT_TRUE(estimate.Start(1));
    for (int step = 0; step < 3000; ++step)
        estimate.CommandStep(ServoLoop::kStepSeconds);
    estimate.Stop();
    const auto end = estimate.TakeEnd();
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->ratio) << "a stopped pattern estimates nothing";
    EXPECT_FALSE(estimate.TakeEnd()) << "taken once";
}

TEST(InertiaEstimate, AMotorThatDoesNotTurnTellsNothing) {
    InertiaEstimate estimate(MotorFor(DriveModel::T5));
    ASSERT_TRUE(estimate.Start(1));
    double commanded = 0;
    for (int step = 0; step < 100000 && estimate.Running(); ++step) {
        commanded += std::abs(estimate.CommandStep(ServoLoop::kStepSeconds));
        estimate.Observe(5, 0); // torque but no motion: a blocked shaft
    }
    EXPECT_NEAR(commanded, 4, 1e-6) << "pattern 1 is four strokes of one revolution";
    const auto end = estimate.TakeEnd();
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->ratio);
}

} // namespace
