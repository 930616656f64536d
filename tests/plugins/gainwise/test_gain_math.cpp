// The manual gain estimation: the stiffness presets, the checks of the
// entered values in their order, the integer interpolation, and the range
// checks before a transfer (also narrowed by a model's own table).
#include "GainMath.h"
#include "GainRegisters.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

using namespace gainwise;

namespace {

TEST(GainMath, PresetsAndHints) {
    const struct {
        int level;
        std::array<int, 4> preset; // bandwidth, reaction time, lowest, highest bandwidth
    } cases[] = {
        {0, {9, 8333, 1, 14}},   // 100000 / 12; up to B[1] − 1
        {3, {25, 2500, 20, 35}}, // B[2] + 1 .. B[4] − 1
        {15, {240, 392, 186, 320}},
    };
    for (const auto& c : cases) {
        const auto p = PresetFor(c.level);
        ASSERT_TRUE(p) << c.level;
        EXPECT_EQ(
            (std::array{p->bandwidth, p->reactionTime, p->lowestBandwidth, p->highestBandwidth}),
            c.preset)
            << c.level;
    }
    EXPECT_FALSE(PresetFor(-1));
    EXPECT_FALSE(PresetFor(16));
}

TEST(GainMath, EstimatesAndRefusalsInOrder) {
    const struct {
        const char* what;
        GainInput input;
        int message;
        int bandwidth, reactionTime; // as corrected
        GainValues gains;            // when computed
    } cases[] = {
        {"level 0 at its preset", {300, 0, 9, 8333}, kMsgNone, 9, 8333, {300, 12, 9, 62, 253}},
        {"level 3, below its preset", {0, 3, 22, 5000}, kMsgNone, 22, 5000, {0, 20, 22, 35, 94}},
        {"level 3, above its preset", {0, 3, 30, 2500}, kMsgNone, 30, 2500, {0, 40, 30, 30, 76}},
        {"level 15, below it", {0, 15, 200, 1000}, kMsgNone, 200, 1000, {0, 100, 200, 14, 25}},
        {"bandwidth 321", {0, 15, 321, 1000}, kMsgBandwidthRange, 321, 1000, {}},
        {"bandwidth 0 becomes 1", {0, 0, 0, 8333}, kMsgBandwidthRange, 1, 8333, {}},
        {"reaction time above 100000", {0, 0, 9, 100001}, kMsgReactionTimeRange, 9, 100000, {}},
        {"reaction time below the minimum", {0, 0, 9, 100}, kMsgReactionTimeRange, 9, 3536, {}},
        {"time before bandwidth", {0, 0, 321, 10}, kMsgReactionTimeRange, 321, 99, {}},
        {"bandwidth of the next level", {0, 0, 15, 8333}, kMsgStiffnessTooLow, 15, 8333, {}},
        {"bandwidth of the level before", {0, 3, 19, 8333}, kMsgStiffnessTooLow, 19, 8333, {}},
    };
    for (const auto& c : cases) {
        const GainOutcome out = EstimateGains(c.input);
        EXPECT_EQ(out.message, c.message) << c.what;
        EXPECT_EQ(out.corrected.bandwidth, c.bandwidth) << c.what;
        EXPECT_EQ(out.corrected.reactionTime, c.reactionTime) << c.what;
        if (c.message == kMsgNone) {
            EXPECT_EQ(out.gains, c.gains) << c.what;
        }
    }
}

TEST(GainMath, TransferRangesInOrder) {
    const struct {
        GainValues values;
        std::optional<int> first;
        const char* text;
    } cases[] = {
        {{250, 12, 9, 62, 253}, std::nullopt, ""},
        {{250, 12, 9, 62, 24}, kPr104, "Pr.104: 25~2500"},
        {{10001, 0, 9, 62, 24}, kPr004, "Pr.004: 0~10000"},
        {{0, 2001, 3501, 62, 253}, kPr100, "Pr.100: 1~2000"},
        {{0, 1, 3501, 0, 253}, kPr101, "Pr.101: 1~3500"},
        {{0, 1, 1, 1001, 2500}, kPr102, "Pr.102: 1~1000"},
    };
    for (const auto& c : cases) {
        const auto first = FirstOutOfRange(c.values, DefaultRanges());
        EXPECT_EQ(first, c.first) << c.text;
        if (first) {
            EXPECT_EQ(RangeText(*first, DefaultRanges()[*first]), c.text);
        }
    }
}

// The registers of each model are pinned by the cycle's golden requests.
TEST(GainRegisters, ALoadedTableNarrowsTheFixedRangesOfItsModelOnly) {
    EXPECT_FALSE(RegistersFor(kModelVq));
    std::vector<ParmRecord> records(1);
    records[0].number = 104;
    records[0].min = 30;
    records[0].max = 2000;
    std::vector<std::int32_t> index(ParmStore::kIndexSize, -1);
    index[104] = 0;
    ParmStore parms;
    parms.records = &records;
    parms.recordIndex = index.data();
    parms.iModel = kModelT5;
    EXPECT_EQ(RangesFor(kModelT5, parms)[kPr104].low, 30);
    EXPECT_EQ(RangesFor(kModelT5, parms)[kPr104].high, 2000);
    EXPECT_EQ(RangesFor(kModelT5, parms)[kPr100].high, 2000) << "no record: fixed range";
    EXPECT_EQ(RangesFor(kModelT8, parms)[kPr104].low, 25) << "the store holds a T5 table";
}

} // namespace
