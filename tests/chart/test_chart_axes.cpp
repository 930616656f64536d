#include "ChartFixture.h"

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace {

using Axes = ChartTest;

// 800 x 600: the picture tests rely on the plot at 100..700 x 42..422.
TEST_F(Axes, LabelFontAndColumnsBeyondThePlot) {
    Window(800, 600, 30, 70);
    Draw();
    EXPECT_EQ(chart.FontSize(), 72); // tenths of a point
    long x = 30 + 100 - 5;
    EXPECT_EQ(chart.CoordX_toGridX(&x, 1.0f / chart.RangeLen()), 0);
    x = 30 + 701;
    EXPECT_EQ(chart.CoordX_toGridX(&x, 1.0f / chart.RangeLen()), chart.RangeLen());
}

TEST_F(Axes, UnitGridAndBoundsGiveScalesAndRulerLabels) {
    chart.SetYbyUnitGrid(0, 100.0f, 0.0f, 0, "Speed (rpm)");
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(chart.RulerLabel(0, i), QString::number(500 - 100 * i)) << i;

    chart.SetYbyUnitGrid(9, 0.5f, 1.0f, 2, "Torque (%)"); // channel 9 counts as 3
    EXPECT_EQ(chart.RulerLabel(3, 0), "3.50");
    EXPECT_EQ(chart.RulerLabel(3, 7), "0.00");
    EXPECT_EQ(chart.RulerLabel(3, 10), "-1.50");

    chart.SetYbyUpLowBound(1, 10.0f, 30.0f, 0, "x"); // swapped
    EXPECT_EQ(chart.RulerLabel(1, 0), "30");
    EXPECT_EQ(chart.RulerLabel(1, 10), "10");

    // Degenerate axes still have a scale.
    chart.SetYbyUnitGrid(0, 0.0f, 7.0f, 0, "");
    EXPECT_GT(chart.Yaxis(0).scale, 0.0f);
    chart.SetYbyUpLowBound(1, 4.0f, 4.0f, 0, "");
    EXPECT_FLOAT_EQ(chart.Yaxis(1).upper, 9.0f);
    EXPECT_FLOAT_EQ(chart.Yaxis(1).lower, -1.0f);
}

TEST_F(Axes, DrawRangeSetsStepsAndTimeLabels) {
    chart.SetXaxisLen(3001);
    chart.SetDrawRangeX(0, 3000);
    EXPECT_EQ(chart.WheelStep(0), 14);
    EXPECT_EQ(chart.WheelStep(1), 58);
    EXPECT_EQ(chart.MsPerDiv(), 300);
    EXPECT_EQ(QStringList({chart.TimeLabel(0), chart.TimeLabel(1), chart.TimeLabel(10)}),
              QStringList({"0.000", "0.300", "3.000"}));

    chart.SetDrawRangeX(1000, 1100);
    EXPECT_EQ(QStringList({chart.TimeLabel(0), chart.TimeLabel(10)}),
              QStringList({"1.000", "1.100"}));
    EXPECT_EQ(chart.WheelStep(0), 1);

    chart.SetTimeScaleX(TimeMsPerSample, 0.2f);
    chart.SetDrawRangeX(0, 350);
    chart.SetDelay(175);
    EXPECT_EQ(chart.TimeLabel(10), "70.0");
    const QStringList lines = chart.TimeBaseLines();
    EXPECT_EQ(lines.at(0), "  Timebase   sp.=0.2ms");
    EXPECT_EQ(lines.at(1), "     7.0ms/div  delay:  35.0ms");
    EXPECT_EQ(lines.at(3), " \u0394Xt=    0.0ms  \u0394Xf=5000.000Hz");
    chart.SetTimeScaleX(TimeMsPerSample, 0.05f); // coinciding cursors: 20 kHz
    EXPECT_EQ(chart.TimeBaseLines().at(3), " \u0394Xt=    0.0ms  \u0394Xf=20000.00Hz");
    chart.SetTimeScaleX(TimeMsPerScreen, 351.0f); // the same 1 ms per sample
    EXPECT_EQ(chart.TimeLabel(10), "350.0");
    chart.SetTimeScaleX(7, 3.0f); // unknown kind: milliseconds per screen
    EXPECT_EQ(chart.TimeBaseLines().at(0), "  Timebase   ");
}

TEST_F(Axes, DrawRangeIsKeptInsideTheAxis) {
    chart.SetXaxisLen(3001);
    chart.SetDrawRangeX(2500, -40);
    EXPECT_EQ(std::pair(chart.DrawStart(), chart.DrawEnd()), std::pair(0, 2500));
    chart.SetDrawRangeX(5000, 5000);
    EXPECT_EQ(std::pair(chart.DrawStart(), chart.DrawEnd()), std::pair(2999, 3000));
    chart.ZoomX_Reset();
    EXPECT_EQ(chart.RangeLen(), 3000);
}

TEST_F(Axes, TimeBasePanelInMilliseconds) {
    Window(4000, 600); // one pixel per sample
    chart.SetXaxisLen(3001);
    chart.SetDelay(1500);
    chart.followMouse = 1;
    MouseAt(750, 100);
    chart.Cursor_H(1);
    MouseAt(1250, 100);
    chart.Cursor_H(2);
    EXPECT_EQ(chart.TimeBaseLines(), QStringList({"  Timebase   ", "     300ms/div  delay:  1500ms",
                                                  "  X1=    750ms   X2=    1250ms",
                                                  " \u0394Xt=    500ms  \u0394Xf=   2.000Hz"}));
    MouseAt(750, 100);
    chart.Cursor_H(2);
    EXPECT_EQ(chart.TimeBaseLines().at(3), " \u0394Xt=      0ms  \u0394Xf=1000.000Hz");
}

TEST_F(Axes, TagTextsShortenLongUnits) {
    EXPECT_EQ(chart.TagLines(0), QStringList({" CH A ", "100[rpm]/div", " ofs     0"}));
    chart.SetYbyUnitGrid(1, 100.0f, -250.0f, 0, "");
    chart.SetChannelUnit(1, "abcdefg"); // "100[abcdefg]/div" has 16 characters
    EXPECT_EQ(chart.TagLines(1).at(1), "100[abcdefg]/.");
    EXPECT_EQ(chart.TagLines(1).at(2), " ofs   250");
    chart.SetChannelUnit(1, "abcdef"); // 15 characters: kept whole
    EXPECT_EQ(chart.TagLines(1).at(1), "100[abcdef]/div");
    chart.SetChannelUnit(1, "abcdefghij"); // 19 characters
    EXPECT_EQ(chart.TagLines(1).at(1), "100[abcdefghij]");
}

// Nonsense from a caller leaves a drawable chart, never a crash.
TEST_F(Axes, NonsenseSettingsLeaveAUsableChart) {
    chart.SetXaxisLen(5); // too short: eleven samples, delay and range to match
    EXPECT_EQ(std::make_tuple(chart.AxisLen(), chart.Delay(), chart.DrawStart(), chart.DrawEnd(),
                              chart.ShownBuf(0).GetSize(), chart.TrigBuf(3).GetSize()),
              std::make_tuple(11, 5, 0, 10, 11, 11));
    chart.SetXaxisLen(-100);
    EXPECT_EQ(chart.AxisLen(), 11);
    chart.SetXaxisLen(2000000000);
    EXPECT_EQ(chart.AxisLen(), 1 << 22);
    chart.SetXaxisLen(101);

    chart.SetYbyUnitGrid(0, std::numeric_limits<float>::quiet_NaN(), 3.0f, 0, "");
    chart.SetYbyUnitGrid(1, 1.0f, std::numeric_limits<float>::infinity(), 0, "");
    chart.SetYbyUnitGrid(2, 3.0e38f, 0.0f, 0, "");
    chart.SetYbyUpLowBound(3, std::numeric_limits<float>::quiet_NaN(), 1.0f, 0, "");
    for (int ch = 0; ch < 4; ++ch) {
        EXPECT_TRUE(std::isfinite(chart.Yaxis(ch).scale)) << ch;
        EXPECT_GT(chart.Yaxis(ch).scale, 0.0f) << ch;
        EXPECT_LT(chart.Yaxis(ch).lower, chart.Yaxis(ch).upper) << ch;
    }
    chart.SetRulerText(nullptr, nullptr, nullptr);
    chart.UpdateMouse(nullptr, 120 * 50000);
    chart.curSelX = 1;
    long extreme = std::numeric_limits<long>::max();
    for (int i = 0; i < 101; ++i)
        chart.ShownBuf(0).SatAdd(&extreme);

    for (ChartRect rect : {ChartRect{0, 0, 0, 0}, ChartRect{0, 0, -50, 30}, ChartRect{0, 0, 12, 9},
                           ChartRect{0, 0, 300, 200}}) {
        chart.SetWndSize(&rect);
        QImage image(320, 220, QImage::Format_RGB32);
        QPainter painter(&image);
        chart.PlotAll(&painter);
    }
    EXPECT_EQ(chart.CursorX(1), 0);
}

} // namespace
