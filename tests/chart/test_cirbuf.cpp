#include "CirBuf.h"

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

std::vector<long> Window(const CCirBuf& buf) {
    std::vector<long> out;
    for (int i = 0; i < buf.GetSatValidLen(); ++i)
        out.push_back(buf.SatGet(i));
    return out;
}

TEST(CirBuf, RingKeepsNewestValuesAndReadsZeroOutsideTheCount) {
    CCirBuf buf(4);
    Append(buf, {1, 2, 3, 4, 5, 6}, false);
    EXPECT_EQ(buf.Get(0), 3);
    EXPECT_EQ(buf.Get(3), 6);
    EXPECT_EQ(buf.GetValidLen(), 4);
    EXPECT_EQ(buf.GetAhead(), 2);
    EXPECT_EQ(buf.GetTail(), 1);
    EXPECT_EQ(buf.Get(-1), 0);
    EXPECT_EQ(buf.Get(4), 0);
    EXPECT_EQ(buf.SatGet(1000000), 0);
    EXPECT_EQ(buf.GetStored(-5), 0);

    CCirBuf five(5);
    Append(five, {1, 2, 3, 4, 5, 6, 7}, false); // ahead 2
    five.SetValidLen(2);
    EXPECT_EQ(five.GetValidLen(), 2);
    EXPECT_EQ(five.GetTail(), 3);
    EXPECT_EQ(five.Get(1), 4);
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
        EXPECT_EQ(Window(buf), expected) << "after " << v;
        EXPECT_EQ(buf.GetValidLen(), std::min<long>(v, 5));
        EXPECT_EQ(buf.GetSatTail(), buf.GetTail());
    }
    EXPECT_EQ(buf.Get(0), 3) << "the ring keeps more than the window";
    buf.SatReSize(10);
    EXPECT_EQ(buf.GetSatSize(), 5);
    buf.SatReSize(-3);
    EXPECT_EQ(buf.GetSatSize(), 0);
}

TEST(CirBuf, ShrinkingTheWindowKeepsNewestAndErasesTheRest) {
    CCirBuf buf(6);
    Append(buf, {1, 2, 3, 4, 5});
    buf.SatReSize(2);
    EXPECT_EQ(Window(buf), (std::vector<long>{4, 5}));
    EXPECT_EQ(buf.Get(0), 0);
    EXPECT_EQ(buf.Get(3), 4);
    Append(buf, {6});
    EXPECT_EQ(Window(buf), (std::vector<long>{5, 6}));

    CCirBuf surplus(6);
    surplus.SatReSize(3);
    Append(surplus, {1, 2, 3, 4}); // ring 4, window 3
    surplus.SetSatValidLen(2);
    EXPECT_EQ(Window(surplus), (std::vector<long>{2, 3}));
    EXPECT_EQ(surplus.GetValidLen(), 3);
}

TEST(CirBuf, MaskAndSignFlagsChangeReadsNotDataAndSurviveClear) {
    CCirBuf buf(4);
    Append(buf, {-7, 9});
    buf.EnReverseSign(1);
    EXPECT_EQ(buf.Get(0), 7);
    EXPECT_EQ(buf.SatGet(1), -9);
    buf.MaskZero(1);
    EXPECT_EQ(buf.Get(0), 0);
    EXPECT_EQ(buf.SatGet(1), 0);
    EXPECT_EQ(buf.GetStored(0), -7);
    buf.MaskZero(0);
    buf.EnReverseSign(0);
    EXPECT_EQ(buf.Get(0), -7);
    buf.Clear();
    EXPECT_EQ(buf.GetValidLen(), 0);
    buf.MaskZero(1);
    Append(buf, {5});
    EXPECT_EQ(buf.GetValidLen(), 1);
    EXPECT_EQ(buf.GetAhead(), 0);
    EXPECT_EQ(buf.Get(0), 0) << "flags survive Clear";
    EXPECT_EQ(buf.GetStored(0), 5);
}

TEST(CirBuf, ResizeReallocatesEmpty) {
    CCirBuf buf(3);
    Append(buf, {1, 2, 3});
    buf.SatReSize(2);
    buf.ReSize(8);
    EXPECT_EQ(buf.GetSize(), 8);
    EXPECT_EQ(buf.GetSatSize(), 8);
    EXPECT_EQ(buf.GetValidLen(), 0);
    EXPECT_EQ(buf.GetSatValidLen(), 0);
    EXPECT_EQ(buf.Get(0), 0);
}

} // namespace
