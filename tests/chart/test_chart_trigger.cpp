#include "ChartPlot.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class Trigger : public ::testing::Test {
protected:
    void SetUp() override {
        chart.SetXaxisLen(100);
        chart.TrigSatReSize_CirBuf(3);
        CChartPlot::Trig_Init(&settings);
        chart.TrigSetup(&settings);
        chart.Trig_Reset();
    }

    // Appends one sample per channel and runs the capture check.
    int Feed(long a, long b = 0, long c = 0, long d = 0) {
        chart.TrigAdd_CirBuf(a, b, c, d);
        return chart.Trig_CheckTrig_SwpCirBuf();
    }

    std::vector<long> ShownWindow(int ch) {
        std::vector<long> out;
        for (int i = 0; i < chart.ShownBuf(ch).GetSatValidLen(); ++i)
            out.push_back(chart.ShownBuf(ch).SatGet(i));
        return out;
    }

    CChartPlot chart;
    TriggerDatas settings{};
};

TEST_F(Trigger, RisingEdgeCompletesOnceAtTheFourthSampleAndResetRearms) {
    EXPECT_EQ(chart.trigState, TrigArmed);
    EXPECT_EQ(Feed(-5), 0);
    EXPECT_EQ(chart.trigState, TrigArmed) << "one sample is not enough to test";
    EXPECT_EQ(Feed(-1), 0);
    EXPECT_EQ(chart.trigState, TrigWaiting);
    EXPECT_EQ(Feed(3), 0) << "until the window is full the pair -5, -1 is tested";
    EXPECT_EQ(chart.trigState, TrigWaiting);
    EXPECT_EQ(Feed(7), 1);
    EXPECT_EQ(chart.trigState, TrigComplete);
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-1, 3, 7}));
    EXPECT_EQ(Feed(-9), 0);
    EXPECT_EQ(Feed(9), 0);
    EXPECT_EQ(chart.trigState, TrigComplete);
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-1, 3, 7})) << "the shown capture stays";

    // A reset rearms with the old shown set.
    chart.Trig_Reset();
    EXPECT_EQ(chart.trigState, TrigArmed);
    EXPECT_EQ(chart.TrigBuf(0).GetSatValidLen(), 0);
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-1, 3, 7}));
    Feed(1);
    Feed(-4);
    Feed(-2);
    EXPECT_EQ(Feed(5), 0);
    EXPECT_EQ(Feed(8), 1); // (-2, 5) reached position 1
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-2, 5, 8}));
}

TEST_F(Trigger, PretriggerPositionPlacesTheEvent) {
    chart.TrigSatReSize_CirBuf(6);
    settings.position = 4;
    settings.level1 = 10;
    chart.TrigSetup(&settings);
    chart.Trig_Reset();
    int completed = 0;
    for (long v : {1, 2, 3, 4, 5, 6, 7, 20, 21, 22, 23, 24, 25})
        completed += Feed(v);
    EXPECT_EQ(completed, 1);
    // Four samples before the event, the rest after it.
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{4, 5, 6, 7, 20, 21}));
}

TEST_F(Trigger, AndWaitsForBothConditionsOnTheSamePair) {
    settings.combination = 3;
    settings.channel2 = 1;
    settings.edge2 = TrigAtOrAbove;
    settings.level2 = 100;
    chart.TrigSetup(&settings);
    Feed(-1, 0);
    Feed(1, 50); // channel 0 rises, channel 1 below 100
    Feed(-1, 200);
    EXPECT_EQ(Feed(-1, 200), 0) << "channel 1 high, but no edge on channel 0";
    EXPECT_EQ(Feed(1, 200), 0);
    EXPECT_EQ(Feed(2, 0), 1);
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-1, 1, 2}));
}

TEST_F(Trigger, OrAndSecondOnly) {
    settings.combination = 2;
    settings.channel2 = 3;
    settings.edge2 = TrigFalling;
    settings.level2 = 0;
    settings.level1 = 1000;
    chart.TrigSetup(&settings);
    Feed(0, 0, 0, 5);
    Feed(0, 0, 0, 5);
    Feed(0, 0, 0, -5); // channel 3 falls
    EXPECT_EQ(Feed(0, 0, 0, -5), 1);

    settings.combination = 4;
    settings.channel1 = 3; // condition 1 would fire; only condition 2 counts
    settings.edge1 = TrigAtOrBelow;
    settings.channel2 = 2;
    settings.edge2 = TrigEitherEdge;
    settings.level2 = 2;
    chart.TrigSetup(&settings);
    chart.Trig_Reset();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Feed(0, 0, 0, -5), 0);
    Feed(0, 0, 4, 0);
    EXPECT_EQ(Feed(0, 0, -4, 0), 1);
}

TEST_F(Trigger, CombinationZeroNeverTriggers) {
    settings.combination = 0;
    settings.edge1 = TrigAtOrAbove;
    chart.TrigSetup(&settings);
    for (long v = 0; v < 20; ++v)
        EXPECT_EQ(Feed(v), 0);
    EXPECT_EQ(chart.trigState, TrigWaiting);
}

TEST_F(Trigger, ConditionKinds) {
    struct Case {
        int previous, current, level, kind, expected;
    };
    const Case cases[] = {
        {-1, 0, 0, TrigRising, 1},
        {0, 1, 0, TrigRising, 0},
        {-1, -1, 0, TrigRising, 0},
        {1, 0, 0, TrigFalling, 1},
        {0, -1, 0, TrigFalling, 0},
        {-3, 3, 0, TrigEitherEdge, 1},
        {3, -3, 0, TrigEitherEdge, 1},
        {3, 3, 0, TrigEitherEdge, 0},
        {-9, 5, 5, TrigAtOrAbove, 1},
        {9, 4, 5, TrigAtOrAbove, 0},
        {-9, 5, 5, TrigAtOrBelow, 1},
        {0, 6, 5, TrigAtOrBelow, 0},
        {-1, 1, 0, 5, 0},
        {-1, 1, 0, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CChartPlot::Trig_IsTrigger(&c.previous, &c.current, &c.level, &c.kind),
                  c.expected)
            << c.previous << " -> " << c.current << " level " << c.level << " kind " << c.kind;
}

TEST_F(Trigger, SetupClampsChannelsAndPositionAndTheLastPositionTriggers) {
    settings.channel1 = 9;
    settings.channel2 = -2;
    settings.position = 0;
    chart.TrigSetup(&settings);
    EXPECT_EQ(chart.Trigger().channel1, 3);
    EXPECT_EQ(chart.Trigger().channel2, 0);
    EXPECT_EQ(chart.Trigger().position, 1);
    settings.channel1 = 0;
    settings.position = 99;
    chart.TrigSetup(&settings);
    // The sample before the position is read too: the last usable one is 2 of 0..2.
    EXPECT_EQ(chart.Trigger().position, 2);
    Feed(-5);
    Feed(-1);
    EXPECT_EQ(Feed(3), 1);
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-5, -1, 3}));
}

TEST_F(Trigger, InvertedChannelTriggersOnInvertedValues) {
    chart.EnYReverse(0, 1);
    Feed(5);
    Feed(1);
    Feed(-3);
    EXPECT_EQ(Feed(-7), 1) << "stored values fall, read values rise";
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-1, 3, 7}));
}

TEST_F(Trigger, HiddenChannelsReadZeroAndNeverEdge) {
    chart.ShowAllChannel(0);
    for (long v : {-5, -1, 3, 7, -5, 6})
        EXPECT_EQ(Feed(v), 0);
}

TEST_F(Trigger, ExplicitSwapKeepsTheState) {
    Feed(11);
    chart.Trig_SwpCirBuf();
    EXPECT_EQ(chart.trigState, TrigArmed);
    EXPECT_EQ(chart.ShownBuf(0).SatGet(0), 11);
    EXPECT_EQ(chart.TrigBuf(0).GetSatValidLen(), 0);
    EXPECT_EQ(chart.Trig_IsTrigBufFilled(), 0);
    Feed(1);
    Feed(2);
    Feed(3);
    EXPECT_EQ(chart.Trig_IsTrigBufFilled(), 1);
}

} // namespace
