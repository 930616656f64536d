// The poll step request by request against a simulated drive's state: which
// request each item makes, where its bytes land, the rotation over the
// groups, the link claims, retries and the clear command.
#include "MonitorFixture.h"
#include "MonitorItems.h" // the simulated drive's status block

#include <gtest/gtest.h>

namespace {
using namespace monitor;
using drivesim::monitorreg::kBlock;

class MonitorPoll : public ::testing::Test {
protected:
    void Steps(int n) {
        for (int i = 0; i < n; ++i)
            PollStep(ctx, board, items, link);
    }
    FilledContext context;
    SharedContext& ctx = context.Ctx();
    MonitorBoard board;
    MonitorItems items;
    StateItemLink link;
};

// Each item is read by its size (one or two registers, more than two coils)
// and its bytes land as the drive sends them; unticked items and groups are
// skipped.
TEST_F(MonitorPoll, RotationReadsByItemSizeAndValuesLandAsTheDriveSendsThem) {
    link.state.Monitor().SetInputPins(0b101'1000'0001); // DI1, DI8, DI9, DI11
    link.state.Monitor().Observe({0, 0, 0, 0, 0, 0, 0, -70000, 0}, true, 300, {});
    AddItem(items[kMotion], kBlock, 1);
    AddItem(items[kMotion], kBlock + 1, 1).check = 0;
    MonitorItem& count = AddItem(items[kMotion], kBlock + 8, 2);
    AddItem(items[kStatus], kBlock + 3, 1).check = 0;
    MonitorItem& pins = AddItem(items[kInput], 0, 11);
    MonitorItem& outputs = AddItem(items[kOutput], 16, 8);
    StartMonitoring(board);
    Steps(5);
    const std::vector<LoggedRequest> expected = {
        {'R', kBlock, 1}, {'R', kBlock + 8, 2}, {'r', 0, 11}, {'r', 16, 8}, {'R', kBlock, 1}};
    EXPECT_EQ(link.log, expected);
    EXPECT_EQ(count.value.load(), -70000);        // low word first, then the high word
    EXPECT_EQ(pins.value.load(), 0x0005'0081);    // second coil byte at bits 16..23
    EXPECT_EQ(outputs.value.load() & 0x03, 0x03); // ready and servo on
    EXPECT_EQ(board.reads.load(), 5u);
}

TEST_F(MonitorPoll, AnotherRunningClaimStopsAllTraffic) {
    AddItem(items[kMotion], kBlock, 1);
    StartMonitoring(board);
    ctx.Claim(kClaimTracelens).iState = 1;
    Steps(3);
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(ctx.Claim(kClaimMonitor).iDemand.load(), 1);
    ctx.Claim(kClaimTracelens).iState = 2;
    Steps(1);
    EXPECT_EQ(link.log.size(), 1u);
    EXPECT_EQ(ctx.Claim(kClaimMonitor).iDemand.load(), 0);
    EXPECT_EQ(ctx.Claim(kClaimMonitor).iState.load(), 1);
}

TEST_F(MonitorPoll, ADemandOfAnotherToolMakesMonitoringYield) {
    AddItem(items[kMotion], kBlock, 1);
    StartMonitoring(board);
    Steps(1);
    ctx.Claim(kClaimKnobset).iDemand = 1;
    Steps(1);
    EXPECT_EQ(ctx.Claim(kClaimMonitor).iState.load(), 2);
    EXPECT_EQ(ctx.Claim(kClaimMonitor).iYieldRequest.load(), 0);
    ASSERT_TRUE(TakeYieldStop(ctx, board));
    EXPECT_FALSE(TakeYieldStop(ctx, board));
    const std::size_t sent = link.log.size();
    ServeWindowTimer(board);
    Steps(2); // monitoring is off: no traffic, the wish is withdrawn
    EXPECT_EQ(link.log.size(), sent);
    EXPECT_EQ(board.linkWish, 0);
    EXPECT_EQ(board.stoppedByYield.load(), 0);
}

TEST_F(MonitorPoll, AFailedReadRetriesTheSameItem) {
    MonitorItem& first = AddItem(items[kMotion], kBlock + 2, 1);
    AddItem(items[kMotion], kBlock + 5, 1);
    first.value = 1234;
    StartMonitoring(board);
    link.failAfter = 0;
    Steps(2);
    EXPECT_EQ(first.value.load(), 1234);   // unchanged
    EXPECT_FALSE(ServeWindowTimer(board)); // nothing new to show
    link.failAfter = -1;
    Steps(1);
    const std::vector<LoggedRequest> expected = {
        {'R', kBlock + 2, 1}, {'R', kBlock + 2, 1}, {'R', kBlock + 2, 1}};
    EXPECT_EQ(link.log, expected);
    EXPECT_EQ(first.value.load(), 310);
    EXPECT_TRUE(ServeWindowTimer(board));
}

TEST_F(MonitorPoll, ClearWritesZeroAfterTheNextRead) {
    AddItem(items[kMotion], kBlock, 1);
    MonitorItem& alarm = AddItem(items[kMotion], kBlock + 3, 1, 1);
    MonitorItem& plain = AddItem(items[kMotion], kBlock + 1, 1, 0);
    link.state.Monitor().RaiseAlarm(4);
    EXPECT_FALSE(RequestClear(board, plain));
    ASSERT_TRUE(RequestClear(board, alarm));
    StartMonitoring(board);
    Steps(3);
    const std::vector<LoggedRequest> expected = {
        {'R', kBlock, 1}, {'W', kBlock + 3, 1, {0}}, {'R', kBlock + 3, 1}};
    EXPECT_EQ(link.log, expected);
    EXPECT_EQ(alarm.value.load(), 0);
}

TEST_F(MonitorPoll, NothingTickedOfflineOrStoppedSendsNothing) {
    AddItem(items[kMotion], kBlock, 1).check = 0;
    AddItem(items[kStatus], 9999, -1); // no size: never read
    StartMonitoring(board);
    Steps(3);
    EXPECT_TRUE(link.log.empty());
    items[kMotion].items[0].check = 1;
    ctx.Int(kOnline) = 0;
    Steps(2);
    EXPECT_TRUE(link.log.empty());
    ctx.Int(kOnline) = 1;
    StopCom(ctx, board);
    Steps(2);
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(ctx.Claim(kClaimMonitor).iState.load(), 2);
}

} // namespace
