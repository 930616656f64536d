#include "ChartFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

void Append(CCirBuf& buf, std::vector<long> values, bool saturated = true) {
    for (long v : values) {
        if (saturated)
            buf.SatAdd(&v);
        else
            buf.Add(&v);
    }
}

TEST(CirBuf, RingKeepsNewestValuesAndReadsZeroOutsideTheCount) {
    CCirBuf buf(4);
    Append(buf, {1, 2, 3, 4, 5, 6}, false);
    EXPECT_EQ(buf.Get(0), 3);
    EXPECT_EQ(buf.Get(3), 6);
    EXPECT_EQ(buf.GetValidLen(), 4);
    for (int outside : {-1, 4, 1000000})
        EXPECT_EQ(buf.Get(outside) + buf.SatGet(outside) + buf.GetStored(outside), 0) << outside;

    CCirBuf five(5);
    Append(five, {1, 2, 3, 4, 5, 6, 7}, false);
    five.SetValidLen(2);
    EXPECT_EQ(five.Get(1), 4) << "the oldest values leave";
    five.SetValidLen(0);
    Append(five, {8}, false);
    EXPECT_EQ(five.Get(0), 8) << "an emptied ring starts over";
}

TEST(CirBuf, SaturatedWindowGrowsToItsSizeAndFollowsTheNewest) {
    CCirBuf buf(5);
    buf.SatReSize(3);
    for (long v = 1; v <= 7; ++v) {
        buf.SatAdd(&v);
        std::vector<long> expected;
        for (long k = std::max(1L, v - 2); k <= v; ++k)
            expected.push_back(k);
        EXPECT_EQ(SatWindow(buf), expected) << "after " << v;
    }
    EXPECT_EQ(buf.Get(0), 3) << "the ring keeps more than the window";
    buf.SatReSize(10);
    EXPECT_EQ(buf.GetSatSize(), 5);
    buf.SatReSize(-3);
    EXPECT_EQ(buf.GetSatSize(), 0);
}

TEST(CirBuf, ShrinkingTheWindowKeepsNewestAndResizingEmpties) {
    CCirBuf buf(6);
    Append(buf, {1, 2, 3, 4, 5});
    buf.SatReSize(2);
    EXPECT_EQ(SatWindow(buf), (std::vector<long>{4, 5}));
    EXPECT_EQ(buf.Get(0), 0) << "erased";
    Append(buf, {6});
    EXPECT_EQ(SatWindow(buf), (std::vector<long>{5, 6}));
    Append(buf, {7}); // ring 6 of 6, window 2
    buf.SetSatValidLen(1);
    EXPECT_EQ(SatWindow(buf), (std::vector<long>{6})) << "the newest sample leaves";
    EXPECT_EQ(buf.GetValidLen(), 5) << "from the ring too";

    buf.ReSize(8);
    EXPECT_EQ(buf.GetSatSize(), 8);
    EXPECT_EQ(buf.GetValidLen() + buf.GetSatValidLen(), 0);
    EXPECT_EQ(buf.Get(0), 0);
}

TEST(CirBuf, MaskAndSignFlagsChangeReadsNotDataAndSurviveClear) {
    CCirBuf buf(4);
    Append(buf, {-7, 9});
    buf.EnReverseSign(1);
    EXPECT_EQ(buf.Get(0), 7);
    EXPECT_EQ(buf.SatGet(1), -9);
    buf.MaskZero(1);
    EXPECT_EQ(buf.SatGet(1), 0);
    EXPECT_EQ(buf.GetStored(0), -7);
    buf.Clear();
    EXPECT_EQ(buf.GetValidLen(), 0);
    Append(buf, {5});
    EXPECT_EQ(buf.Get(0), 0) << "flags survive Clear";
    EXPECT_EQ(buf.GetStored(0), 5);
    buf.MaskZero(0);
    EXPECT_EQ(buf.Get(0), -5);
}

} // namespace
