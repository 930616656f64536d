// High Sample blocks against a scripted drive: lengths and the High Sample
// word per time base, and settings changed while a block is armed.
#include "EngineFixture.h"

namespace tracelens {
namespace {

struct BlockCase {
    int timeBase;
    int length;
    std::uint16_t word; // time base | delay << 6
};
class HighSampleBlock : public EngineTest, public testing::WithParamInterface<BlockCase> {};

TEST_P(HighSampleBlock, HasTheLengthOfItsTimeBase) {
    const BlockCase c = GetParam();
    farEnd.blockLength = c.length;
    Start(kModeBlockContinue, [&](ScopeTiming& timing) {
        timing.highSample = 1;
        timing.timeBase = c.timeBase;
        timing.delay = 20;
    });
    RunUntil([&] { return Status().counter[ScopeStatus::kTriggerCounter] >= 1; }, "a block");
    EXPECT_EQ(app.BlockLength(), c.length);
    EXPECT_EQ(app.Chart().ShownBuf(0).GetSatValidLen(), c.length);
    EXPECT_EQ(app.Chart().ShownBuf(0).SatGet(c.length - 1), c.length - 1);
    EXPECT_GE(farEnd.Count({'W', 0x00AA, c.word}), 1u);
    EXPECT_GE(farEnd.Count({'W', 0x0090, 3}), 1u);
    EXPECT_GE(farEnd.Count({'W', 0x0090, 4}), 1u);
    EXPECT_GE(farEnd.Count({'R', 0x00A9, 2}), 1u);
}
INSTANTIATE_TEST_SUITE_P(TimeBases, HighSampleBlock,
                         testing::Values(BlockCase{1, 101, 1 | 20 << 6},
                                         BlockCase{7, 351, 7 | 20 << 6},
                                         BlockCase{45, 501, 45 | 20 << 6},
                                         BlockCase{0, 101, 1 | 20 << 6},
                                         BlockCase{300, 501, 45 | 20 << 6}));

TEST_F(EngineTest, TriggerChangedDuringABlockIsWrittenAfter501msAndRearms) {
    farEnd.waitingReads = 1 << 30; // the block keeps waiting for its trigger
    Start(kModeBlockNormal, [](ScopeTiming& timing) {
        timing.highSample = 1;
        timing.timeBase = 7;
        timing.trigger = TriggerDatas{1, 0, 0, TrigRising, TrigRising, 100, 0, 20};
    });
    RunUntil([&] { return farEnd.Count({'R', 0x00A9, 2}) >= 2; }, "the armed block");
    EXPECT_EQ(farEnd.Count({'W', 0x0090, 2}), 1u);
    EXPECT_EQ(pauses.Count(501), 0u);

    ScopeTiming& timing = app.MasterTiming();
    timing.trigger.level1 = -70000; // 0xFFFEEE90
    timing.trigger.edge1 = TrigFalling;
    Raise(ScopeRequest::kTriggerCounter);
    Publish();
    RunUntil([&] { return farEnd.Count({'W', 0x0090, 2}) >= 2; }, "the new arm");
    EXPECT_EQ(pauses.Count(501), 1u);
    const std::vector<RegisterAccess> writes = Writes();
    const std::vector<RegisterAccess> tail(writes.end() - 4, writes.end());
    const std::vector<RegisterAccess> expected{
        {'W', 0x00A9, 0x0100}, {'W', 0x00AB, 0xEE90}, {'W', 0x00AC, 0xFFFE}, {'W', 0x0090, 2}};
    EXPECT_EQ(tail, expected);
}

} // namespace
} // namespace tracelens
