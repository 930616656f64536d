// Sample assembly, the register words and the time-base arithmetic.
#include "CaptureMath.h"

#include <gtest/gtest.h>

namespace tracelens {
namespace {

struct AssemblyCase {
    unsigned long words[4];
    bool wideA, wideC;
    std::array<long, 4> values;
};

TEST(SampleAssembly, BuildsSignedChannelsAndWidePairs) {
    const AssemblyCase cases[] = {
        {{0x0001, 0xFFFF, 0x8000, 0x7FFF}, false, false, {1, -1, -32768, 32767}},
        {{0xFFFF, 0xFFFE, 0x0000, 0x0005}, true, false, {-2, 0, 0, 5}},
        {{0x0001, 0x0000, 0x8000, 0x0000}, false, true, {1, 0, -2147483647L - 1, 0}},
        {{0x0012, 0x3456, 0xFFFE, 0xEE90}, true, true, {0x123456, 0, -70000, 0}},
    };
    for (const AssemblyCase& c : cases)
        EXPECT_EQ(AssembleSample(c.words, c.wideA, c.wideC), c.values) << c.words[0];
}

// The pairing word: EngineTest.SetUpWritesTheSamplingRegistersInOrder (wide A)
// and ScopeInputWords.RunButtonsGiveTheirModes (wide C).
TEST(SamplingWords, TriggerWords) {
    const struct {
        TriggerDatas trigger;
        unsigned short word;
    } cases[] = {
        {{1, 0, 0, TrigRising, TrigRising, 0, 0, 1}, 0x0000},
        {{2, 3, 1, TrigEitherEdge, TrigAtOrBelow, 0, 0, 1}, 0x6213},
        {{4, 2, 3, TrigAtOrAbove, TrigFalling, 0, 0, 1}, 0xCB32},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TriggerWord(c.trigger), c.word);
}

TEST(TimeBase, StreamingRangeAndHighSampleBlocks) {
    const int ranges[][2] = {{0, 10}, {-5, 10}, {1, 10}, {100, 1000}, {300, 3000}, {301, 3001}};
    for (const auto& r : ranges)
        EXPECT_EQ(StreamDrawRange(r[0]), r[1]) << r[0];
    const int blocks[][4] = {{1, 1, 1, 101}, {7, 7, 2, 351},  {45, 45, 9, 501},
                             {0, 1, 1, 101}, {-3, 1, 1, 101}, {46, 45, 9, 501}};
    for (const auto& b : blocks) {
        const BlockTiming t = HighSampleTiming(b[0]);
        EXPECT_EQ(std::tie(t.timeBase, t.divider, t.length), std::tie(b[1], b[2], b[3])) << b[0];
    }
    EXPECT_EQ(HighSampleDelay(0), 1);
    EXPECT_EQ(HighSampleDelay(501), 500);
}

} // namespace
} // namespace tracelens
