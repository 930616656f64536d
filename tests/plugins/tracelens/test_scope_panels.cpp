// What the scope window's panels and inputs write for the capture cycle:
// "Unit /Div." choices, High Sample limits, the cursor and zoom words, the
// run modes, the trigger-choice file and a zoom drag that runs off the chart.
#include "PanelSettings.h"
#include "ScopeInput.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"
#include "TriggerChoices.h"

#include <gtest/gtest.h>

namespace tracelens {
namespace {

TEST(UnitPerDiv, ChoicesFollowTheSignalsMaximum) {
    const struct {
        int maximum;
        int last;
        int preselected;
    } cases[] = {{1, 10, 10}, {1000, 200, 100}, {6000, 1200, 600}, {20, 10, 10}, {0, 10, 10}};
    for (const auto& c : cases) {
        const UnitPerDivChoices choices = UnitPerDivFor(c.maximum);
        ASSERT_FALSE(choices.values.empty()) << c.maximum;
        EXPECT_EQ(choices.values.front(), 10) << c.maximum;
        EXPECT_EQ(choices.values.back(), c.last) << c.maximum;
        EXPECT_EQ(choices.values[static_cast<std::size_t>(choices.preselected)], c.preselected)
            << c.maximum;
    }
    EXPECT_EQ(UnitPerDivFor(1000).values.size(), 15u) << "10 .. 200";
    EXPECT_EQ(UnitPerDivFor(2147483647).values.size(), 45u) << "never more than the table";
}

class Panels : public testing::Test {
protected:
    Panels() { settings.SetSignals({{1, "Speed", "r/min", 1000, 0}, {90, "Frame", "", 1, 0}}); }
    CTracelensApp app;
    PanelSettings settings{app};
    const ScopeRequest& Request() { return app.WorkingRequest(); }
};

TEST_F(Panels, ChoosingASignalSetsItsCodeScaleAndCaption) {
    const int before = Request().word[ScopeRequest::kUnitPerDivCounter];
    settings.SelectSignal(2, 0);
    EXPECT_EQ(Request().word[ScopeRequest::kDriveWords + 3], 1) << "register 0x00A4";
    EXPECT_EQ(app.MasterTiming().signal[2], 0);
    EXPECT_EQ(app.MasterChannels()[2].caption, "Speed (r/min)");
    EXPECT_EQ(app.MasterChannels()[2].unitPerDiv, 100);
    EXPECT_EQ(app.MasterTiming().unitPerDiv[2], 100);
    EXPECT_GT(Request().word[ScopeRequest::kUnitPerDivCounter], before);
    settings.SetOffset(2, 5000);
    EXPECT_EQ(app.MasterChannels()[2].offset, 1000) << "clamped to the maximum";
    EXPECT_EQ(settings.SourceChannels(), std::vector<int>{2});
    EXPECT_EQ(app.MasterTiming().trigger.channel1, 2) << "the only source";
}

TEST_F(Panels, HighSampleCutsTheTimeTo45AndCountsTheDelayInMilliseconds) {
    settings.SetTimeBase(100);
    settings.ResetDelay();
    EXPECT_EQ(app.MasterTiming().delay, 500);
    settings.SetHighSample(true);
    EXPECT_EQ(settings.TimeBase(), 45);
    EXPECT_EQ(settings.TimeMax(), 45);
    // 45 ms/div: divider 9, 501 samples of 0.9 ms; 100 ms is cut to 450 ms.
    EXPECT_EQ(settings.DelayText(), "450.0");
    EXPECT_EQ(app.MasterTiming().delay, 500);
    settings.SetDelay(1.0); // the first sample not before 1 ms: 2 x 0.9 ms
    EXPECT_EQ(app.MasterTiming().delay, 2);
    EXPECT_EQ(app.MasterTiming().trigger.position, 2);
    settings.SetTimeBase(300);
    EXPECT_EQ(settings.TimeBase(), 45);
    settings.SetHighSample(false);
    settings.SetTimeBase(300);
    EXPECT_EQ(settings.TimeBase(), 300);
}

TEST(TimeSpin, StepsGrowWhileHeldFromTen) {
    const struct {
        int time, held, step;
        bool highSample;
    } cases[] = {{9, 5000, 1, false},
                 {10, 0, 10, false},
                 {10, 1000, 20, false},
                 {50, 2500, 200, false},
                 {30, 3000, 1, true}};
    for (const auto& c : cases)
        EXPECT_EQ(PanelSettings::TimeStep(c.time, c.highSample, c.held), c.step)
            << c.time << " held " << c.held;
}

TEST(ScopeInputWords, CursorButtonsSelectOneCursor) {
    const struct {
        std::vector<int> presses;
        int x, y, lock;
    } cases[] = {
        {{kCurX1}, 1, 0, 0},         {{kCurX2}, 2, 0, 0},         {{kCurX1, kCurY1}, 0, 1, 0},
        {{kCurX2, kCurY2}, 0, 2, 0}, {{kCurLockX}, 1, 0, 1},      {{kCurLockX, kCurY1}, 0, 1, 0},
        {{kCurY2, kCurX1}, 1, 0, 0}, {{kCurX1, kCurX1}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        ScopeRequest request;
        ScopeInput input(request);
        for (int b : c.presses)
            input.PressCursorButton(b);
        EXPECT_EQ(request.word[ScopeRequest::kCursorX], c.x) << c.presses.size();
        EXPECT_EQ(request.word[ScopeRequest::kCursorY], c.y) << c.presses.size();
        EXPECT_EQ(request.word[ScopeRequest::kCursorLockX], c.lock) << c.presses.size();
    }
}

TEST(ScopeInputWords, RightPressSwitchesZoomToolsOffInsteadOfPressing) {
    ScopeRequest request;
    ScopeInput input(request);
    input.SelectZoomTool(ZoomTool::Time);
    EXPECT_EQ(request.word[ScopeRequest::kDropZoomX], 1);
    EXPECT_TRUE(input.RightDown());
    EXPECT_EQ(request.word[ScopeRequest::kDropZoomX], 0);
    EXPECT_EQ(request.word[ScopeRequest::kDropZoomY], 0);
    EXPECT_EQ(request.word[ScopeRequest::kKeys] & kKeyRight, 0);
    input.RightUp();
    EXPECT_FALSE(input.RightDown()) << "no tool active now";
    EXPECT_EQ(request.word[ScopeRequest::kKeys] & kKeyRight, kKeyRight);
    input.LeftDown(true);
    EXPECT_EQ(request.word[ScopeRequest::kKeys], kKeyLeft | kKeyRight | kKeyControl);
    input.LeftUp();
    EXPECT_EQ(request.word[ScopeRequest::kKeys], kKeyRight);
    input.SelectZoomTool(ZoomTool::Both);
    input.RestoreZoom();
    EXPECT_EQ(input.ActiveZoomTool(), ZoomTool::None);
    EXPECT_EQ(request.word[ScopeRequest::kRestoreButton], 1);
}

TEST(ScopeInputWords, RunButtonsGiveTheirModes) {
    const struct {
        RunButton button;
        bool highSample;
        int mode;
    } cases[] = {{RunButton::Continue, false, 1}, {RunButton::Normal, false, 2},
                 {RunButton::Single, false, 3},   {RunButton::Continue, true, 4},
                 {RunButton::Normal, true, 5},    {RunButton::Single, true, 6},
                 {RunButton::Stop, true, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ScopeInput::ModeFor(c.button, c.highSample), c.mode);
    ScopeRequest request;
    ScopeInput input(request);
    ChannelTable channels{};
    channels[2].wide = 1;
    EXPECT_TRUE(input.PressRun(RunButton::Normal, false, channels));
    EXPECT_EQ(request.word[ScopeRequest::kDriveWords], 0x1100) << "pairing word";
    EXPECT_FALSE(input.PressRun(RunButton::Normal, false, channels)) << "already running";
}

TEST(TriggerChoiceFile, NamesTheListsAndKeepsBuiltInTextsItLacks) {
    TempDir dir;
    const std::string good = dir.Write("trCHT.lng", "[Setup]\niQtyCS=5\niQtyCC=4\n"
                                                    "[Data1]\nName=Rise\n[Data5]\nName=Below\n"
                                                    "[Data6]\nName=Only 1\n[Data9]\nName=Only 2\n");
    const TriggerChoices read = LoadTriggerChoices(good);
    EXPECT_EQ(read.conditions.front(), "Rise");
    EXPECT_EQ(read.conditions.back(), "Below");
    EXPECT_EQ(read.conditions[1], "Negative Edge") << "a missing section keeps its text";
    EXPECT_EQ(read.combinations.front(), "Only 1");
    EXPECT_EQ(read.combinations.back(), "Only 2");
    const std::string bad =
        dir.Write("bad.lng", "[Setup]\niQtyCS=-4\niQtyCC=999999\n\x01\x02[Data");
    const TriggerChoices fallback = LoadTriggerChoices(bad);
    EXPECT_EQ(fallback.conditions.size(), 5u);
    EXPECT_EQ(fallback.combinations.size(), 4u);
    EXPECT_EQ(LoadTriggerChoices(dir.File("missing.lng")).conditions[0], "Positive Edge");
}

// The cycle draws a 1000 x 600 chart of 3000 samples (300 ms/div).
class ChartInput : public testing::Test {
protected:
    ChartInput() : input(app.WorkingRequest()) {
        app.Attach(&context.Context());
        ScopeRequest& request = app.WorkingRequest();
        request.word[ScopeRequest::kRectLeft + 2] = 1000;
        request.word[ScopeRequest::kRectLeft + 3] = 600;
        app.MasterTiming().timeBase = 300;
        ++request.word[ScopeRequest::kTimeBaseCounter];
        Cycle();
        Cycle();
    }
    void Cycle() {
        app.WorkingRequest().word[ScopeRequest::kRedraw] = 1;
        ASSERT_TRUE(app.PublishRequest());
        app.ExternThread();
    }
    // The status a cycle wrote reaches the window two publications later.
    void CycleUntilShown() {
        for (int i = 0; i < 3; ++i)
            Cycle();
    }
    StandaloneContext context;
    CTracelensApp app;
    ScopeInput input;
};

TEST_F(ChartInput, ZoomDragPastTheEndIsCutBackTo3000) {
    const QRect plot = app.Chart().PlotRect();
    ASSERT_GT(plot.width(), 100);
    input.SelectZoomTool(ZoomTool::Time);
    input.MouseMove(plot.center().x(), plot.center().y(), false);
    input.LeftDown(false);
    Cycle();
    input.MouseMove(plot.right() + 2000, plot.center().y(), false);
    Cycle();
    input.LeftUp();
    CycleUntilShown();
    EXPECT_EQ(app.ZoomEnd(), 3000);
    EXPECT_EQ(app.WindowStatus().zoomed, 1);
    input.RestoreZoom();
    CycleUntilShown();
    EXPECT_EQ(app.WindowStatus().zoomed, 0);
}

TEST_F(ChartInput, XCursorsReadTheirDistanceInMilliseconds) {
    input.PressCursorButton(kCurX1);
    const QRect plot = app.Chart().PlotRect();
    input.MouseMove(plot.left() + plot.width() / 4, plot.center().y(), false);
    input.LeftDown(false);
    Cycle();
    input.LeftUp();
    input.PressCursorButton(kCurX2);
    input.MouseMove(plot.left() + plot.width() / 2, plot.center().y(), false);
    input.LeftDown(false);
    Cycle();
    input.LeftUp();
    CycleUntilShown();
    const CursorReadout& readout = app.WindowStatus().cursors;
    EXPECT_EQ(readout.kind, CursorReadout::kX);
    EXPECT_NEAR(readout.deltaMs, 750.0, 10.0) << "a quarter of 3000 samples of 1 ms";
}

} // namespace
} // namespace tracelens
