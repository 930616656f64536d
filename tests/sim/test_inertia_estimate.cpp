// The drive's inertia estimation: a refused or stopped pattern and one
// without motion give no estimate. (That a pattern finds the machine's true
// ratio whatever the drive was told: GainwiseWindow.OnlineAutomaticProcedureOnAT5.)
#include "InertiaEstimate.h"
#include "ServoLoop.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

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
