#include "ChartFixture.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// 800 x 600: plot 100..700 x 42..422, centre row 232, 380 pixels for 1000 units.
class Image : public ChartTest {
protected:
    void SetUp() override {
        Window(800, 600);
        chart.SetXaxisLen(101);
        for (int ch = 0; ch < 4; ++ch)
            chart.SetYbyUnitGrid(ch, 100.0f, 0.0f, 0, "");
    }

    void Constant(int ch, long value) {
        for (int i = 0; i < 101; ++i)
            chart.ShownBuf(ch).SatAdd(&value);
    }

    int InPlot(const QImage& image, const QColor& colour) {
        return CountColour(image, chart.PlotRect(), colour);
    }
};

TEST_F(Image, TraceIsDrawnInItsColourAtItsRow) {
    Constant(0, 200); // 232 - 0.38 * 200
    QImage image = Draw();
    // One row across the plot and nothing else; a line leaves out its end
    // point, as GDI's LineTo does.
    EXPECT_EQ(CountColour(image, QRect(100, 156, 600, 1), kYellow), 600);
    EXPECT_EQ(InPlot(image, kYellow), 600);

    Window(800, 600, 40, 25); // the same chart elsewhere in the window
    image = Draw();
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::darkGray)) << "outside the window";
    EXPECT_EQ(image.pixelColor(40 + 300, 25 + 156), kYellow);

    // The centre moves the trace. (An inverted channel reads its samples
    // negated: TriggerSequences, CirBuf.)
    chart.SetYbyUnitGrid(2, 100.0f, 100.0f, 0, ""); // value 100 at the centre row
    Constant(2, 100);
    EXPECT_EQ(Draw().pixelColor(40 + 300, 25 + 232), kLightBlue);
}

// Revived (drawn on top), hidden and masked channels on one picture.
TEST_F(Image, RevivedHiddenAndMaskedChannels) {
    Constant(0, 300);
    Constant(1, 150);
    Constant(2, 300);
    Constant(3, -100);
    const int row = 232 - 114;
    EXPECT_EQ(Draw().pixelColor(430, row), kYellow) << "the first channel on top";
    chart.EnChannel(2, 0);
    chart.EnChannel(2, 1);
    EXPECT_EQ(Draw().pixelColor(430, row), kLightBlue) << "the revived channel on top";

    chart.EnChannel(-4, 0); // counts as channel 0
    QImage image = Draw();
    EXPECT_EQ(InPlot(image, kYellow), 0);
    EXPECT_EQ(image.pixelColor(400, 270), kGreen);
    // Its tag is gone too; the remaining tags move left.
    const QRect tagArea(0, chart.PlotRect().bottom() + 30, 500, 100);
    EXPECT_EQ(CountColour(image, tagArea, kYellow), 0);
    EXPECT_GT(CountColour(image, tagArea, kGreen), 0);

    chart.ShowAllChannel(0);
    image = Draw();
    for (const QColor& colour : {kYellow, kMagenta, kLightBlue, kGreen})
        EXPECT_EQ(InPlot(image, colour), 0);
    chart.ShowAllChannel(1);
    EXPECT_GT(InPlot(Draw(), kMagenta), 0);
}

TEST_F(Image, TraceStopsAtTheNewestSampleAndValuesBeyondThePlotAreClipped) {
    for (long i = 0; i < 51; ++i)
        chart.ShownBuf(0).SatAdd(&i);
    Constant(1, 2000000000);
    Constant(2, -2000000000); // below the plot lie the tags
    const QImage image = Draw();
    EXPECT_EQ(chart.ShownBuf(0).plotPoints, 51);
    EXPECT_EQ(CountColour(image, QRect(410, 42, 290, 381), kYellow), 0) << "right half";
    EXPECT_EQ(CountColour(image, QRect(100, 0, 601, 423), kMagenta), 0);
    EXPECT_EQ(InPlot(image, kLightBlue), 0);
}

TEST_F(Image, GridIsGreyAndBackgroundBlack) {
    QImage image = Draw();
    const QColor grey(101, 101, 101);
    EXPECT_EQ(image.pixelColor(100, 300), grey); // left border
    EXPECT_EQ(image.pixelColor(400, 100), grey); // vertical centre line
    EXPECT_EQ(image.pixelColor(250, 232), grey); // horizontal centre line
    EXPECT_EQ(image.pixelColor(130, 100), QColor(Qt::black));
}

TEST_F(Image, BackgroundIsRedrawnOnlyWhenSomethingChanged) {
    Constant(0, 100);
    Draw();
    const int first = chart.BackgroundRedraws();
    chart.curSelX = 1;
    Draw();
    EXPECT_EQ(chart.BackgroundRedraws(), first) << "cursors use the cache";
    chart.SetYbyUnitGrid(1, 50.0f, 0.0f, 0, "new caption");
    Draw();
    EXPECT_EQ(chart.BackgroundRedraws(), first + 1);
    Window(900, 600);
    Draw();
    EXPECT_EQ(chart.BackgroundRedraws(), first + 2);
}

// Noise drawn at three samples per column keeps every column's extremes
// with at most two points per column.
using Trace = ChartTest;

TEST_F(Trace, ColumnExtremesAreKept) {
    Window(1280, 800);
    chart.SetXaxisLen(3001);
    chart.SetYbyUnitGrid(0, 1000.0f, 0.0f, 0, "");
    std::mt19937 random(3);
    std::uniform_int_distribution<long> noise(-4000, 4000);
    std::vector<long> values(3001);
    for (long& v : values) {
        v = noise(random);
        chart.ShownBuf(0).SatAdd(&v);
    }
    for (int ch = 1; ch < 4; ++ch)
        chart.EnChannel(ch, 0);
    const QImage image = Draw();

    const QRect plot = chart.PlotRect();
    const int columns = plot.width();
    EXPECT_LE(chart.ShownBuf(0).plotPoints, 2 * columns);

    std::vector<int> top(1280, 100000), bottom(1280, -1);
    // Every column shows its highest and lowest sample (to a pixel's rounding).
    const double xStep = static_cast<double>(chart.PlotWidth()) / 3000.0;
    const double yFactor = chart.PlotHeight() / 10000.0; // 1000 units per division
    for (int j = 0; j < 3001; ++j) {
        const int x = plot.left() + static_cast<int>(xStep * j + 1e-6);
        const int row = static_cast<int>(std::lround(chart.yBase - yFactor * values[j]));
        top[x] = std::min(top[x], row);
        bottom[x] = std::max(bottom[x], row);
    }
    auto yellowNear = [&](int x, int row) {
        for (int y = row - 1; y <= row + 1; ++y)
            if (image.pixelColor(x, y) == kYellow)
                return true;
        return false;
    };
    // The last column is left out: a polyline does not draw its end point.
    for (int x = plot.left(); x < plot.right(); ++x) {
        ASSERT_GE(bottom[x], 0);
        EXPECT_TRUE(yellowNear(x, top[x])) << "column " << x << " row " << top[x];
        EXPECT_TRUE(yellowNear(x, bottom[x])) << "column " << x << " row " << bottom[x];
    }
}

// The older routine draws the buffer's stored values: no mask, no sign flip.
TEST_F(Trace, OlderRoutineIgnoresFlags) {
    Window(800, 600);
    chart.SetXaxisLen(11);
    for (long v = 0; v <= 10; ++v)
        chart.ShownBuf(0).SatAdd(&v);
    chart.ShowAllChannel(0);
    chart.ShownBuf(0).MaskZero(1);
    chart.ShownBuf(0).EnReverseSign(1);
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    // Values 0..10 over 0.1 of the height per unit, lifted by 20 pixels.
    chart.PlotTrend(&painter, &chart.ShownBuf(0), 0.1f, 0.01f, 0.0f, 20.0f, kGreen);
    painter.end();
    EXPECT_EQ(image.pixelColor(100, chart.yBase - 20), kGreen);
    EXPECT_EQ(image.pixelColor(640, chart.yBase - 20 - 34), kGreen);
}

} // namespace
