#include "ChartFixture.h"

#include <tuple>
#include <utility>

namespace {

// 4000 pixels wide: the plot is 3000 pixels, one per sample of a 3001 axis.
class Zoom : public ChartTest {
protected:
    void SetUp() override {
        Window(4000, 600);
        chart.SetXaxisLen(3001);
        chart.dropZoomX = 1;
    }

    unsigned long Drag(int fromSample, int fromRow, int toSample, int toRow) {
        MouseAt(fromSample, fromRow);
        chart.ZoomDropStart();
        MouseAt(toSample, toRow);
        chart.ZoomDropStart();
        return chart.ZoomDropEnd();
    }

    int RowOfValue(int ch, int value) {
        for (long row = chart.PlotRect().top(); row <= chart.PlotRect().bottom(); ++row)
            if (chart.CoordY_toRulerY(&row, &chart.Yaxis(ch)) == value)
                return static_cast<int>(row);
        ADD_FAILURE() << "no row shows " << value;
        return 0;
    }
};

TEST_F(Zoom, TimeDragsAreWidenedToTenAndCutToMultiplesOfFive) {
    struct Case {
        int from, to, start, end;
    };
    // 3400 lies beyond the plot: the drag ends at the range end.
    const Case cases[] = {
        {0, 7, 0, 10}, {123, 100, 100, 120}, {2995, 2999, 2990, 3000}, {2000, 3400, 2000, 3000}};
    for (const Case& c : cases) {
        chart.ZoomX_Reset();
        EXPECT_EQ(Drag(c.from, 100, c.to, 100), 1u);
        EXPECT_EQ(std::pair(chart.DrawStart(), chart.DrawEnd()), std::pair(c.start, c.end))
            << c.from << ".." << c.to;
    }
}

TEST_F(Zoom, NoStartDisabledDirectionsAndWobblesChangeNothing) {
    int start = -1, end = -1;
    EXPECT_EQ(chart.ZoomDropEnd(), 0u);
    EXPECT_EQ(chart.ZoomDropEnd(&start, &end), 0u);
    EXPECT_EQ(start + end, -2);
    chart.dropZoomX = 0; // the result still reports both moves
    EXPECT_EQ(Drag(100, 100, 300, 300), 3u);
    EXPECT_EQ(chart.DrawEnd(), 3000);
    EXPECT_FALSE(chart.YZoomed());
    EXPECT_EQ(Drag(100, 100, 101, 101), 0u) << "a one-pixel wobble is no move";
    EXPECT_EQ(chart.dropZoomActive, 0);
    chart.dropZoomY = 1;
    EXPECT_EQ(Drag(1000, 0, 1000, 599), 2u);
    EXPECT_FALSE(chart.YZoomed()) << "the whole height is no zoom";
}

TEST_F(Zoom, ValueDragOfFortyToFortyFiveWidensToTenUnits) {
    chart.dropZoomX = 0;
    chart.dropZoomY = 1;
    chart.SetYbyUnitGrid(0, 10.0f, 0.0f, 0, "Speed");
    const int row40 = RowOfValue(0, 40);
    const int row45 = RowOfValue(0, 45);
    EXPECT_EQ(Drag(1000, row40, 1000, row45), 2u);
    EXPECT_TRUE(chart.YZoomed());
    EXPECT_FLOAT_EQ(chart.Yaxis(0).upper, 47.5f);
    EXPECT_FLOAT_EQ(chart.Yaxis(0).lower, 37.5f);
    EXPECT_EQ(chart.CursorY(1), chart.PlotRect().top());
    EXPECT_EQ(chart.CursorY(2), chart.PlotRect().bottom());
    EXPECT_EQ(chart.DrawEnd(), 3000) << "the time axis is not zoomed";
}

TEST_F(Zoom, RectangleZoomsBothAxesAndRestoreReturns) {
    chart.dropZoomY = 1;
    chart.SetYbyUnitGrid(2, 100.0f, 50.0f, 1, "Cmd");
    chart.ZoomSave();
    const int top = RowOfValue(2, 300);
    const int bottom = RowOfValue(2, 100);
    EXPECT_EQ(Drag(500, top, 1500, bottom), 3u);
    EXPECT_EQ(std::pair(chart.DrawStart(), chart.DrawEnd()), std::pair(500, 1500));
    EXPECT_FLOAT_EQ(chart.Yaxis(2).upper, 300.0f);
    EXPECT_FLOAT_EQ(chart.Yaxis(2).lower, 100.0f);
    Draw();
    EXPECT_TRUE(chart.YZoomed());

    chart.ZoomRestore();
    EXPECT_EQ(std::pair(chart.DrawStart(), chart.DrawEnd()), std::pair(0, 3000));
    EXPECT_FLOAT_EQ(chart.Yaxis(2).upper, 550.0f);
    EXPECT_FLOAT_EQ(chart.Yaxis(2).lower, -450.0f);
    Draw();
    EXPECT_FALSE(chart.YZoomed());
}

TEST_F(Zoom, BandIsDrawnWhileDragging) {
    MouseAt(1000, 100);
    chart.ZoomDropStart();
    MouseAt(1200, 100);
    chart.ZoomDropStart();
    QImage image = Draw();
    const QRect plot = chart.PlotRect();
    const int x = chart.GridX_toCoordX(1100);
    EXPECT_EQ(image.pixelColor(x, plot.top()), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(x, plot.bottom()), QColor(Qt::white));
    chart.ZoomDropEnd();
    image = Draw();
    EXPECT_NE(image.pixelColor(x, plot.bottom()), QColor(Qt::white));
}

// Cursors on a range of 1000 samples, one pixel each.
class Cursors : public ChartTest {
protected:
    void SetUp() override {
        Window(1336, 600);
        chart.SetXaxisLen(3001);
        chart.SetDrawRangeX(0, 1000);
        ASSERT_EQ(chart.PlotWidth(), 1000);
        for (long i = 0; i < 3001; ++i) {
            long twice = 2 * i;
            long negated = -i;
            chart.ShownBuf(0).SatAdd(&twice);
            chart.ShownBuf(1).SatAdd(&negated);
        }
    }

    void FollowTo(int n, int sample) {
        chart.followMouse = 1;
        MouseAt(sample, 100);
        chart.Cursor_H(n);
        chart.followMouse = 0;
    }
};

TEST_F(Cursors, LockedCursorsKeepTheirDistanceInsideTheRange) {
    struct Case {
        int x1, x2, dragTo, expected1, expected2;
    };
    const Case cases[] = {
        {0, 100, 950, 900, 1000}, // cursor 2 would leave the range
        {900, 1000, 20, 20, 120},
        {500, 400, 10, 100, 0}, // cursor 2 in front of cursor 1
    };
    for (const Case& c : cases) {
        chart.curLockX = 0;
        FollowTo(1, c.x1);
        FollowTo(2, c.x2);
        chart.curLockX = 1;
        FollowTo(1, c.dragTo);
        EXPECT_EQ(std::pair(chart.CursorX(1), chart.CursorX(2)),
                  std::pair(c.expected1, c.expected2))
            << c.x1 << "," << c.x2 << " to " << c.dragTo;
    }
}

TEST_F(Cursors, WheelStepsSmallLargeAndFine) {
    FollowTo(1, 500);   // steps of 4 and 19 samples on this range of 1000
    MouseAt(0, 0, 120); // wheel away from the user: one small step back
    chart.Cursor_H(1);
    EXPECT_EQ(chart.CursorX(1), 496);
    MouseAt(0, 0, -240);
    chart.Cursor_H(1);
    EXPECT_EQ(chart.CursorX(1), 496 + 2 * 19);
    chart.Cursor_H(1); // the delta was consumed
    EXPECT_EQ(chart.CursorX(1), 534);
    chart.fineStep = 1;
    MouseAt(0, 0, -720);
    chart.Cursor_H(1);
    EXPECT_EQ(chart.CursorX(1), 535);
    chart.fineStep = 0;
    MouseAt(0, 0, 120 * 100);
    chart.Cursor_H(1);
    EXPECT_EQ(chart.CursorX(1), 0);
}

TEST_F(Cursors, TagsGetTheSampleValuesAtTheCursors) {
    chart.SetDrawRangeX(200, 1200);
    FollowTo(1, 10);
    FollowTo(2, 60);
    EXPECT_EQ(std::make_tuple(chart.Tag(0).value1, chart.Tag(0).value2, chart.Tag(1).value2),
              std::make_tuple(420, 520, -260));
    EXPECT_EQ(chart.GetCurX_DataPos(), 260) << "the sample under the last moved cursor";
    chart.curSelX = 1;
    Draw();
    EXPECT_EQ(chart.TagLines(0).mid(3),
              QStringList({" X1    420", " X2    520", " \u0394Y    100"}));
}

TEST_F(Cursors, NewRangeKeepsCursorsOnTheirSamples) {
    FollowTo(0, 500); // cursor numbers outside 1 and 2 are clamped
    FollowTo(7, 900);
    chart.SetDrawRangeX(400, 800);
    EXPECT_EQ(std::pair(chart.CursorX(1), chart.CursorX(2)), std::pair(100, 400));
}

TEST_F(Cursors, ValueCursorsFollowTheMouseInsideThePlot) {
    chart.SetYbyUnitGrid(0, 100.0f, 0.0f, 0, "");
    Draw(); // a first drawing puts the value cursors at the plot top and bottom
    EXPECT_EQ(chart.CursorY(1), chart.PlotRect().top());
    EXPECT_EQ(chart.CursorY(2), chart.PlotRect().bottom());
    chart.followMouse = 1;
    QPoint above(500, 2);
    chart.UpdateMouse(&above, 0);
    chart.Cursor_V(1);
    EXPECT_EQ(chart.CursorY(1), chart.PlotRect().top());
    QPoint centre(500, chart.yBase);
    chart.UpdateMouse(&centre, 0);
    chart.Cursor_V(2);
    EXPECT_EQ(chart.Tag(0).value1, 500);
    EXPECT_EQ(chart.Tag(0).value2, 0);
    chart.followMouse = 0;
    QPoint still(500, chart.yBase);
    chart.UpdateMouse(&still, -120);
    chart.Cursor_V(2);
    EXPECT_EQ(chart.CursorY(2), chart.yBase + 1) << "one pixel, the smallest step";
}

TEST_F(Cursors, SelectedCursorsAreDrawnInWhite) {
    FollowTo(1, 250);
    FollowTo(2, 750);
    chart.curSelX = 2;
    QImage image = Draw();
    const int row = chart.PlotRect().bottom() - 3;
    EXPECT_EQ(image.pixelColor(chart.GridX_toCoordX(250), row), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(chart.GridX_toCoordX(750), row), QColor(Qt::white));

    chart.curSelX = 0;
    image = Draw();
    EXPECT_NE(image.pixelColor(chart.GridX_toCoordX(250), row), QColor(Qt::white));
    EXPECT_EQ(chart.TagLines(0).size(), 3) << "no cursor values in the tags";
}

} // namespace
