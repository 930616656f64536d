#include "ChartFixture.h"

#include <array>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

// A chart whose trigger window holds three samples, trigger settings at their
// defaults (rising edge through 0 on channel 0, position 1).
struct Capture {
    Capture() {
        chart.SetXaxisLen(100);
        chart.TrigSatReSize_CirBuf(3);
        CChartPlot::Trig_Init(&settings);
        Apply();
    }
    void Apply() {
        chart.TrigSetup(&settings);
        chart.Trig_Reset();
    }
    // Appends one sample per channel and runs the capture check.
    int Feed(long a, long b = 0, long c = 0, long d = 0) {
        chart.TrigAdd_CirBuf(a, b, c, d);
        return chart.Trig_CheckTrig_SwpCirBuf();
    }
    std::vector<long> ShownWindow(int ch) { return SatWindow(chart.ShownBuf(ch)); }

    CChartPlot chart;
    TriggerDatas settings{};
};

class Trigger : public ::testing::Test, protected Capture {};

TEST_F(Trigger, RisingEdgeCompletesOnceAtTheFourthSampleAndResetRearms) {
    EXPECT_EQ(chart.trigState, TrigArmed);
    EXPECT_EQ(Feed(-5), 0);
    EXPECT_EQ(chart.trigState, TrigArmed) << "one sample is not enough to test";
    EXPECT_EQ(Feed(-1), 0);
    EXPECT_EQ(chart.trigState, TrigWaiting);
    EXPECT_EQ(Feed(3), 0) << "until the window is full the pair -5, -1 is tested";
    EXPECT_EQ(Feed(7), 1);
    EXPECT_EQ(chart.trigState, TrigComplete);
    EXPECT_EQ(Feed(-9), 0);
    EXPECT_EQ(Feed(9), 0);
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-1, 3, 7})) << "the shown capture stays";

    // A reset rearms with the old shown set.
    chart.Trig_Reset();
    EXPECT_EQ(chart.trigState, TrigArmed);
    EXPECT_EQ(chart.TrigBuf(0).GetSatValidLen(), 0);
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-1, 3, 7}));
    for (long v : {1, -4, -2, 5})
        EXPECT_EQ(Feed(v), 0);
    EXPECT_EQ(Feed(8), 1); // (-2, 5) reached position 1
    EXPECT_EQ(ShownWindow(0), (std::vector<long>{-2, 5, 8}));
}

// Settings (zeroes: condition 1 alone, rising edge through 0 on channel 0),
// the samples fed, the one that completes the capture (-1: none) and the
// captured channel 0.
TEST(TriggerSequences, CombinationsPositionsAndChannelFlags) {
    enum Chart { kPlain, kSixSamples, kInverted, kHidden };
    struct Case {
        const char* what;
        TriggerDatas settings;
        Chart chart;
        std::vector<std::array<long, 4>> samples;
        int completesAt;
        std::vector<long> shown;
    };
    // clang-format off
    const Case cases[] = {
        {"position 4 of 6", {.combination = 1, .level1 = 10, .position = 4}, kSixSamples,
         {{1}, {2}, {3}, {4}, {5}, {6}, {7}, {20}, {21}, {22}, {23}, {24}}, 8,
         {4, 5, 6, 7, 20, 21}},
        {"AND on one pair", {.combination = 3, .channel2 = 1, .edge2 = TrigAtOrAbove,
                             .level2 = 100},
         kPlain, {{-1, 0}, {1, 50}, {-1, 200}, {-1, 200}, {1, 200}, {2, 0}}, 5, {-1, 1, 2}},
        {"OR by the second", {.combination = 2, .channel2 = 3, .edge2 = TrigFalling,
                              .level1 = 1000},
         kPlain, {{0, 0, 0, 5}, {0, 0, 0, 5}, {0, 0, 0, -5}, {0, 0, 0, -5}}, 3, {0, 0, 0}},
        {"second only", {.combination = 4, .channel1 = 3, .channel2 = 2, .edge1 = TrigAtOrBelow,
                         .edge2 = TrigEitherEdge, .level2 = 2},
         kPlain, {{0, 0, 0, -5}, {0, 0, 0, -5}, {0, 0, 0, -5}, {0, 0, 4, 0}, {0, 0, -4, 0}}, 4,
         {0, 0, 0}},
        {"combination 0", {.combination = 0, .edge1 = TrigAtOrAbove}, kPlain,
         {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}}, -1, {}},
        {"inverted channel", {.combination = 1}, kInverted, {{5}, {1}, {-3}, {-7}}, 3, {-1, 3, 7}},
        {"hidden channels", {.combination = 1}, kHidden, {{-5}, {-1}, {3}, {7}, {-5}, {6}}, -1, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Capture capture;
        if (c.chart == kSixSamples)
            capture.chart.TrigSatReSize_CirBuf(6);
        capture.chart.EnYReverse(0, c.chart == kInverted);
        capture.chart.ShowAllChannel(c.chart != kHidden);
        capture.settings = c.settings;
        capture.Apply();
        for (int i = 0; i < static_cast<int>(c.samples.size()); ++i) {
            const auto& s = c.samples[i];
            EXPECT_EQ(capture.Feed(s[0], s[1], s[2], s[3]), i == c.completesAt) << "sample " << i;
        }
        EXPECT_EQ(capture.ShownWindow(0), c.shown);
    }
}

TEST_F(Trigger, ConditionKinds) {
    struct Case {
        int previous, current, level, kind, expected;
    };
    // clang-format off
    const Case cases[] = {
        {-1, 0, 0, TrigRising, 1},     {0, 1, 0, TrigRising, 0},     {-1, -1, 0, TrigRising, 0},
        {1, 0, 0, TrigFalling, 1},     {0, -1, 0, TrigFalling, 0},   {-3, 3, 0, TrigEitherEdge, 1},
        {3, -3, 0, TrigEitherEdge, 1}, {3, 3, 0, TrigEitherEdge, 0}, {-9, 5, 5, TrigAtOrAbove, 1},
        {9, 4, 5, TrigAtOrAbove, 0},   {-9, 5, 5, TrigAtOrBelow, 1}, {0, 6, 5, TrigAtOrBelow, 0},
        {-1, 1, 0, 5, 0},              {-1, 1, 0, -1, 0},
    };
    // clang-format on
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
    const TriggerDatas& used = chart.Trigger();
    EXPECT_EQ(std::tie(used.channel1, used.channel2, used.position), std::make_tuple(3, 0, 1));
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

TEST_F(Trigger, ExplicitSwapKeepsTheState) {
    Feed(11);
    chart.Trig_SwpCirBuf();
    EXPECT_EQ(chart.trigState, TrigArmed);
    EXPECT_EQ(chart.ShownBuf(0).SatGet(0), 11);
    EXPECT_EQ(chart.TrigBuf(0).GetSatValidLen(), 0);
    EXPECT_EQ(chart.Trig_IsTrigBufFilled(), 0);
    for (long v : {1, 2, 3})
        Feed(v);
    EXPECT_EQ(chart.Trig_IsTrigBufFilled(), 1);
}

} // namespace
