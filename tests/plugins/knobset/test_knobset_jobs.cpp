// The drive jobs against a simulated drive's state, request by request.
#include "../FilledContext.h"
#include "KnobsetFixture.h"
#include "ParmJobs.h"
#include "RequestBoard.h"

#include <array>
#include <gtest/gtest.h>

using namespace knobset;

namespace {

struct JobsFixture {
    explicit JobsFixture(int model) : table(model), link(model), jobs(table.store, identity) {}
    TestTable table;
    DriveStateLink link;
    DriveIdentity identity;
    ParmJobs jobs;
};

} // namespace

TEST(KnobsetJobs, ReadAllT5Reads32BlocksOf100AndSignedValues) {
    JobsFixture f(kModelT5);
    ASSERT_EQ(f.link.state.WriteRegisters(2 * 28, {0xFFFF, 0xFFFF}), drivesim::kNoException);
    EXPECT_EQ(f.jobs.Run(kReadAll, f.link), kResultSuccess);
    std::vector<LoggedRequest> blocks;
    for (int g = 0; g < 16; ++g) {
        blocks.push_back({'R', 256 * g, 100, {}});
        blocks.push_back({'R', 256 * g + 100, 100, {}});
    }
    EXPECT_EQ(f.link.Of('R'), blocks);
    EXPECT_EQ(f.link.log.front().op, 'I');
    EXPECT_EQ(f.jobs.progressCount, 1600);
    EXPECT_EQ(f.table.At(28).setupValue, -1);
    EXPECT_EQ(f.table.At(28).driveValue, -1);
    EXPECT_EQ(
        (std::array{f.identity.Get(2), f.identity.Get(3), f.identity.Get(6), f.identity.Get(7)}),
        (std::array<std::string, 4>{"t5-400w", "hq_417", "4", "1.4.2"}));
}

TEST(KnobsetJobs, ReadAllT8ReadsEightBlocksOf16SignExtended) {
    JobsFixture f(kModelT8);
    ASSERT_EQ(f.link.state.WriteRegisters(f.table.At(96).address, {0xFFFE}),
              drivesim::kNoException);
    EXPECT_EQ(f.jobs.Run(kReadAll, f.link), kResultSuccess);
    const auto reads = f.link.Of('R');
    ASSERT_EQ(reads.size(), 8u);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(reads[j].start, f.table.records[16 * j].address);
        EXPECT_EQ(reads[j].count, 16);
    }
    EXPECT_EQ(f.jobs.progressCount, 128);
    EXPECT_EQ(f.table.At(96).setupValue, -2);
}

TEST(KnobsetJobs, FailedReadEndsTheJobAndKeepsValuesReadBefore) {
    JobsFixture f(kModelT5);
    f.link.failReadAt = 256 * 2;
    f.table.At(300).setupValue = 77;
    EXPECT_EQ(f.jobs.Run(kReadAll, f.link), kResultFailure);
    EXPECT_EQ(f.link.Of('R').size(), 5u);
    EXPECT_EQ(f.table.At(100).setupValue, f.table.At(100).defaultValue);
    EXPECT_EQ(f.table.At(300).setupValue, 77);
    JobsFixture g(kModelT5);
    g.link.failAfter = 0; // the identity check fails
    EXPECT_EQ(g.jobs.Run(kReadAll, g.link), kResultFailure);
    EXPECT_TRUE(g.link.Of('R').empty());
}

TEST(KnobsetJobs, ClampedValueGivesMismatchWithTheDrivesValue) {
    JobsFixture f(kModelT5);
    const ParmRecord& r = f.table.At(1);
    f.jobs.singleAddress = RegisterAddress(r, kModelT5);
    f.jobs.singleValue = r.max + 100;
    EXPECT_EQ(f.jobs.Run(kTranSingle, f.link), kResultMismatch);
    EXPECT_EQ(f.jobs.singleValue, r.max);
    f.link.failAfter = static_cast<int>(f.link.log.size());
    EXPECT_EQ(f.jobs.Run(kTranSingle, f.link), kResultFailure);
}

// T5 writes both halves of a value; T8 values are one word or two registers,
// some followed by the take-over register; each write is read back.
TEST(KnobsetJobs, SingleWriteShapesAndTheTakeOverRegister) {
    const struct {
        int model;
        int address;
        std::int32_t value;
        std::vector<LoggedRequest> requests;
    } rows[] = {
        {kModelT5, 56, -1, {{'W', 56, 2, {0xFFFF, 0xFFFF}}, {'R', 56, 2, {}}}}, // Pr028
        {kModelT8, 1210, 3, {{'W', 1210, 1, {3}}, {'W', 129, 1, {2}}, {'R', 1210, 1, {}}}},
        {kModelT8, 200, 0x12345, {{'W', 200, 2, {0x2345, 0x0001}}, {'R', 200, 2, {}}}},
        {kModelT8,
         1201,
         0x12345,
         {{'W', 1201, 1, {0x2345}},
          {'W', 1202, 1, {0x0001}},
          {'W', 129, 1, {2}},
          {'R', 1201, 1, {}},
          {'R', 1202, 1, {}}}},
    };
    for (const auto& row : rows) {
        JobsFixture f(row.model);
        f.jobs.singleAddress = row.address;
        f.jobs.singleValue = row.value;
        EXPECT_EQ(f.jobs.Run(kTranSingle, f.link), kResultSuccess) << row.address;
        EXPECT_EQ(f.link.log, row.requests) << row.address;
        EXPECT_EQ(f.jobs.singleValue, row.value) << row.address;
    }
}

// The T5 transfer: KnobsetWindow.ValuesTheDriveDoesNotHoldAreMarkedUntilTransferred.
TEST(KnobsetJobs, TransferAllWritesEveryIndexedParameter) {
    JobsFixture t8(kModelT8);
    t8.table.At(17).setupValue = 4;
    EXPECT_EQ(t8.jobs.Run(kTransAll, t8.link), kResultSuccess);
    EXPECT_EQ(t8.link.Of('W').size(), 8u);
    EXPECT_EQ(t8.link.state.Value(17), 4);
    EXPECT_EQ(t8.jobs.progressCount, 128);
}

TEST(KnobsetJobs, EepromSaveAndFailingReadBack) {
    for (int model : {kModelT5, kModelT8}) {
        JobsFixture f(model);
        f.link.state.WriteRegisters(RegisterAddress(f.table.At(1), model),
                                    model == kModelT8 ? std::vector<std::uint16_t>{2}
                                                      : std::vector<std::uint16_t>{2, 0});
        EXPECT_EQ(f.jobs.Run(kWriteEeprom, f.link), kResultSuccess);
        EXPECT_EQ(f.link.log.front(), (LoggedRequest{'W', EepromRegister(model), 1, {1}}));
        EXPECT_EQ(f.jobs.progressCount, 2);
        EXPECT_EQ(f.link.state.SavedValue(1), 2);
        f.jobs.progressCount = 0;
        f.link.overrides = {{EepromRegister(model), 0}};
        EXPECT_EQ(f.jobs.Run(kWriteEeprom, f.link), kResultFailure);
        EXPECT_EQ(f.jobs.progressCount, 1);
    }
}

TEST(KnobsetJobs, FactoryResetThenReadAll) {
    JobsFixture f(kModelT5);
    f.link.state.WriteRegisters(RegisterAddress(f.table.At(1), kModelT5), {3, 0});
    EXPECT_EQ(f.jobs.Run(kFactoryReset, f.link), kResultSuccess);
    EXPECT_EQ(f.link.log.front(), (LoggedRequest{'W', 4226, 1, {1}}));
    EXPECT_EQ(f.jobs.progressCount, 3200);
    EXPECT_EQ(f.table.At(1).setupValue, f.table.At(1).defaultValue);

    JobsFixture refused(kModelT8);
    refused.link.overrides = {{130, 0}};
    EXPECT_EQ(refused.jobs.Run(kFactoryReset, refused.link), kResultMismatch);
    EXPECT_EQ(refused.jobs.progressCount, 152);
}

TEST(KnobsetRequestBoard, JobWaitsWhileAnotherClaimHoldsTheLink) {
    FilledContext host;
    SharedContext& ctx = host.Ctx();
    JobsFixture f(kModelT5);
    RequestBoard board;
    f.link.master.SetRetryTimes(3);
    ASSERT_TRUE(board.Post(kReadAll, f.jobs.progressCount));
    EXPECT_FALSE(board.Post(kTransAll, f.jobs.progressCount)) << "one request at a time";

    ctx.Claim(kClaimMonitor).iState = 1;
    EXPECT_FALSE(RunJobCycle(ctx, board, f.jobs, f.link));
    EXPECT_TRUE(f.link.log.empty());
    EXPECT_EQ(ctx.Claim(kClaimKnobset).iDemand, 1) << "the editor waits for its turn";
    int state, result;
    board.Read(state, result);
    EXPECT_EQ(std::tie(state, result), std::make_tuple(kReadAll, kResultPending));

    ctx.Claim(kClaimMonitor).iState = 0;
    EXPECT_TRUE(RunJobCycle(ctx, board, f.jobs, f.link));
    board.Read(state, result);
    EXPECT_EQ(std::tie(state, result), std::make_tuple(kReadAllFinish, kResultSuccess));
    EXPECT_EQ(board.busyMirror, 0);
    EXPECT_EQ(ctx.Claim(kClaimKnobset).iState, 1);
    EXPECT_EQ(f.link.master.GetRetryTimes(), 3u) << "link settings restored";
    EXPECT_EQ(f.link.master.GetRetryInterval(), 0u);
    EXPECT_TRUE(board.Busy());
    board.Release();
    EXPECT_FALSE(board.Busy());

    // The editor holding the link while another plug-in waits is asked to yield.
    ctx.Claim(kClaimTracelens).iDemand = 1;
    RunJobCycle(ctx, board, f.jobs, f.link);
    EXPECT_EQ(ctx.Claim(kClaimKnobset).iYieldRequest, 0) << "set and cleared within the cycle";
}
