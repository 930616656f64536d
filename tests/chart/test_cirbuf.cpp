#include "CirBuf.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

void Append(CCirBuf& buf, std::vector<long> values, bool saturated) {
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

TEST(CirBuf, KeepsNewestValuesWhenFull) {
    CCirBuf buf(4);
    Append(buf, {1, 2, 3, 4, 5, 6}, false);
    EXPECT_EQ(buf.Get(0), 3);
    EXPECT_EQ(buf.Get(1), 4);
    EXPECT_EQ(buf.Get(3), 6);
    EXPECT_EQ(buf.GetValidLen(), 4);
    EXPECT_EQ(buf.GetAhead(), 2);
    EXPECT_EQ(buf.GetTail(), 1);
}

TEST(CirBuf, SaturatedWindowCoversNewestSamples) {
    CCirBuf buf(4);
    buf.SatReSize(2);
    Append(buf, {1, 2, 3, 4, 5, 6}, true);
    EXPECT_EQ(buf.SatGet(0), 5);
    EXPECT_EQ(buf.SatGet(1), 6);
    EXPECT_EQ(buf.Get(0), 3);
    EXPECT_EQ(buf.GetSatValidLen(), 2);
    EXPECT_EQ(buf.GetSatTail(), buf.GetTail());
}

TEST(CirBuf, WindowGrowsOneSampleAtATimeUntilFull) {
    CCirBuf buf(5);
    buf.SatReSize(3);
    for (long v = 1; v <= 7; ++v) {
        buf.SatAdd(&v);
        std::vector<long> expected;
        for (long k = std::max(1L, v - 2); k <= v; ++k)
            expected.push_back(k);
        EXPECT_EQ(Window(buf), expected) << "after " << v;
        EXPECT_EQ(buf.GetValidLen(), std::min<long>(v, 5));
    }
}

TEST(CirBuf, MaskAndSignFlagsChangeReadsNotData) {
    CCirBuf buf(4);
    Append(buf, {-7, 9}, true);
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
    buf.MaskZero(1);
    Append(buf, {5}, true);
    EXPECT_EQ(buf.Get(0), 0) << "flags survive Clear";
}

TEST(CirBuf, WindowCapacityIsLimitedToRing) {
    CCirBuf buf(4);
    buf.SatReSize(10);
    EXPECT_EQ(buf.GetSatSize(), 4);
    buf.SatReSize(-3);
    EXPECT_EQ(buf.GetSatSize(), 0);
}

TEST(CirBuf, ShrinkingWindowKeepsNewestAndErasesTheRest) {
    CCirBuf buf(6);
    Append(buf, {1, 2, 3, 4, 5}, true);
    buf.SatReSize(2);
    EXPECT_EQ(Window(buf), (std::vector<long>{4, 5}));
    EXPECT_EQ(buf.GetSatTail(), buf.GetTail());
    // Outside the window the ring reads zero.
    EXPECT_EQ(buf.Get(0), 0);
    EXPECT_EQ(buf.Get(3), 4);
    long six = 6;
    buf.SatAdd(&six);
    EXPECT_EQ(Window(buf), (std::vector<long>{5, 6}));
}

TEST(CirBuf, ClearRestartsAtIndexZero) {
    CCirBuf buf(4);
    Append(buf, {1, 2, 3, 4, 5}, true);
    buf.Clear();
    EXPECT_EQ(buf.GetValidLen(), 0);
    EXPECT_EQ(buf.GetSize(), 4);
    Append(buf, {9}, true);
    EXPECT_EQ(buf.GetValidLen(), 1);
    EXPECT_EQ(buf.GetTail(), 0);
    EXPECT_EQ(buf.GetAhead(), 0);
    EXPECT_EQ(buf.Get(0), 9);
}

TEST(CirBuf, ReadsOutsideTheCountReturnZero) {
    CCirBuf buf(4);
    Append(buf, {1, 2}, true);
    EXPECT_EQ(buf.Get(-1), 0);
    EXPECT_EQ(buf.Get(2), 0);
    EXPECT_EQ(buf.SatGet(1000000), 0);
    EXPECT_EQ(buf.GetStored(-5), 0);
}

TEST(CirBuf, SetValidLenMovesTail) {
    CCirBuf buf(5);
    Append(buf, {1, 2, 3, 4, 5, 6, 7}, false); // ahead 2
    buf.SetValidLen(2);
    EXPECT_EQ(buf.GetValidLen(), 2);
    EXPECT_EQ(buf.GetTail(), 3);
    EXPECT_EQ(buf.Get(1), 4);
    buf.SetValidLen(0);
    Append(buf, {8}, false);
    EXPECT_EQ(buf.Get(0), 8) << "an emptied ring starts over";
}

TEST(CirBuf, SetSatValidLenKeepsRingSurplus) {
    CCirBuf buf(6);
    buf.SatReSize(3);
    Append(buf, {1, 2, 3, 4}, true); // ring 4, window 3
    buf.SetSatValidLen(2);
    EXPECT_EQ(buf.GetSatValidLen(), 2);
    EXPECT_EQ(buf.GetValidLen(), 3);
    EXPECT_EQ(buf.SatGet(0), 2);
    EXPECT_EQ(buf.SatGet(1), 3);
}

TEST(CirBuf, ResizeReallocatesEmpty) {
    CCirBuf buf(3);
    Append(buf, {1, 2, 3}, true);
    buf.SatReSize(2);
    buf.ReSize(8);
    EXPECT_EQ(buf.GetSize(), 8);
    EXPECT_EQ(buf.GetSatSize(), 8);
    EXPECT_EQ(buf.GetValidLen(), 0);
    EXPECT_EQ(buf.GetSatValidLen(), 0);
    EXPECT_EQ(buf.Get(0), 0);
}

} // namespace
