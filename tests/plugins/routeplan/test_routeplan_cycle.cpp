// The hand-off between window and cycle: requests and answers, the jog flags
// taken once, the link claims of the other plug-ins, and the window closing.
#include "RouteplanCycle.h"
#include "RouteplanFixture.h"

#include <gtest/gtest.h>

using namespace routeplan;

namespace {

struct Cycle : testing::Test {
    RouteplanContext context;
    DriveStateLink link{kModelT8};
    RouteplanJobs jobs{context.Ctx()};
    RouteplanBoard board;
    bool Run() { return RunCycle(context.Ctx(), board, jobs, link); }
    LinkClaim& Own() { return context.Ctx().Claim(kClaimRouteplan); }
};

TEST_F(Cycle, ARequestIsAnsweredWithTheNextCodeAndTheClaimInUse) {
    ASSERT_TRUE(board.Post(CS_ServoOn));
    EXPECT_FALSE(board.Post(CS_Homing)); // one at a time
    EXPECT_TRUE(Run());
    EXPECT_EQ(board.Current().code, CS_ServoOn + 1);
    EXPECT_EQ(board.Current().result, kResultSuccess);
    EXPECT_EQ(Own().iState.load(), 1);
    EXPECT_TRUE(board.WithMotion([](MotionValues& m) { return m.servoOn; }));
    EXPECT_FALSE(Run()); // the answer waits for the window
    board.Release();
    EXPECT_FALSE(board.Busy());
}

TEST_F(Cycle, AnotherPluginsClaimHoldsTheCommandsBack) {
    LinkClaim& scope = context.Ctx().Claim(kClaimTracelens);
    scope.iState = 1;
    ASSERT_TRUE(board.Post(CS_ServoOn));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(Run());
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(Own().iDemand.load(), 1); // the window's wish stays published
    scope.iState = 0;
    EXPECT_TRUE(Run());
    EXPECT_EQ(board.Current().code, CS_ServoOn + 1);
    EXPECT_EQ(Own().iDemand.load(), 0);
}

TEST_F(Cycle, AnotherPluginsDemandAsksTheJobToYield) {
    ASSERT_TRUE(board.Post(CS_CheckMotorStatus));
    ASSERT_TRUE(Run());
    board.Release();
    context.Ctx().Claim(kClaimMonitor).iDemand = 1;
    Run();
    EXPECT_EQ(Own().iState.load(), 0);
    EXPECT_EQ(Own().iYieldRequest.load(), 0);
    EXPECT_TRUE(board.TakeStoppedByYield());
    EXPECT_FALSE(board.TakeStoppedByYield());
}

TEST_F(Cycle, JogFlagsAreSentOnceAndTheSpeedOnlyOnItsChange) {
    board.WithMotion([](MotionValues& m) {
        m.jogPending = m.runForward = true;
        m.speedUpdate = 1;
        m.jogSpeed = 40;
    });
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(board.PostCurrent(CS_ReadPosFeedback));
        ASSERT_TRUE(Run());
        board.Release();
    }
    int jogs = 0, speeds = 0;
    for (const LoggedRequest& w : link.Writes()) {
        jogs += w.start == 2001;
        speeds += w.start == 87;
    }
    EXPECT_EQ(jogs, 1);
    EXPECT_EQ(speeds, 1);
    EXPECT_EQ(board.WithMotion([](MotionValues& m) { return m.speedUpdate; }), 2);
}

TEST_F(Cycle, ServoOffAfterTheWindowClosedLeavesThePairIdle) {
    ASSERT_TRUE(board.Post(CS_ServoOn));
    ASSERT_TRUE(Run());
    board.Close(); // the unshown answer is dropped
    EXPECT_FALSE(board.Busy());
    ASSERT_TRUE(board.Post(CS_ServoOff));
    ASSERT_TRUE(Run());
    EXPECT_FALSE(board.Busy());
    EXPECT_FALSE(link.state.ServoOn());
    EXPECT_EQ(Own().iState.load(), 0); // the other plug-ins have the link again
}

} // namespace
