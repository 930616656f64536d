// Start-up, plug-in loading, the comm thread and shutdown of the real host
// with test plug-ins.
#include "HostCommands.h"
#include "HostFixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> Matching(const std::vector<std::string>& log, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& e : log)
        if (e.rfind(prefix, 0) == 0)
            out.push_back(e);
    return out;
}

bool Contains(const std::vector<std::string>& log, const std::string& event) {
    return std::find(log.begin(), log.end(), event) != log.end();
}

class HostStartup : public testing::Test {
protected:
    void SetUp() override {
        TestLogMarkUiThread();
        TestLogStart();
    }
    HostFolder folder;
};

TEST_F(HostStartup, NoPluginFilesStartsAndSpinsThroughEmptySlots) {
    CVelmoraApp app(folder.Paths());
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.MainFrame(), nullptr);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    const std::uint64_t before = app.Comm().Passes();
    EXPECT_TRUE(
        WaitProcessingEvents("20 comm passes", [&] { return app.Comm().Passes() > before + 20; }));
    EXPECT_TRUE(app.MainFrame()->MdiArea()->subWindowList().isEmpty());
    app.OnCommand(HostCommand::kKnobset); // inert without the plug-in
    EXPECT_TRUE(app.MainFrame()->MdiArea()->subWindowList().isEmpty());
}

TEST_F(HostStartup, AllPluginsLoadInTableOrderAndPortdeskOpensFirst) {
    folder.AddAllGoodPlugins();
    CVelmoraApp app(folder.Paths());
    app.commLoopArg = 42;
    ASSERT_TRUE(app.InitInstance());
    const std::vector<std::string> log = TestLogTake();
    const std::vector<std::string> creates = Matching(log, "Create:");
    const std::vector<std::string> expected = {
        "Create:Portdesk:ui",  "Create:Knobset:ui",  "Create:Morphtab:ui",
        "Create:Tracelens:ui", "Create:Monitor:ui",  "Create:Glidebay:ui",
        "Create:Nudgepad:ui",  "Create:Gainwise:ui", "Create:Routeplan:ui"};
    EXPECT_EQ(creates, expected);
    // CommLoop runs once on the UI thread right after Portdesk loads, before
    // the next plug-in is created.
    const auto firstCommLoop = std::find(log.begin(), log.end(), "CommLoop:42:ui");
    ASSERT_NE(firstCommLoop, log.end());
    EXPECT_EQ(std::next(std::find(log.begin(), log.end(), "Create:Portdesk:ui")), firstCommLoop);
    const QList<QMdiSubWindow*> windows = app.MainFrame()->MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), "Portdesk");
    EXPECT_EQ(app.Context().Int(kLinkFound).load(), 0);
}

TEST_F(HostStartup, CommThreadCallsCommLoopThenToolsInTheirOrder) {
    folder.AddAllGoodPlugins();
    CVelmoraApp app(folder.Paths());
    ASSERT_TRUE(app.InitInstance());
    TestLogStart();
    const std::uint64_t before = app.Comm().Passes();
    ASSERT_TRUE(
        WaitProcessingEvents("5 comm passes", [&] { return app.Comm().Passes() > before + 5; }));
    app.ExitInstance();
    std::vector<std::string> log = TestLogTake();
    std::erase_if(log, [](const std::string& e) { return e.rfind("Language:", 0) == 0; });
    const auto start = std::find(log.begin(), log.end(), "CommLoop:0:comm");
    ASSERT_NE(start, log.end());
    const std::vector<std::string> pass(start, start + 8);
    const std::vector<std::string> expected = {
        "CommLoop:0:comm",   "Extern:Knobset:0",  "Extern:Monitor:0",  "Extern:Tracelens:0",
        "Extern:Nudgepad:0", "Extern:Glidebay:0", "Extern:Gainwise:0", "Extern:Routeplan:0"};
    EXPECT_EQ(pass, expected);
    EXPECT_EQ(Matching(log, "Extern:Morphtab").size(), 0u);
}

TEST_F(HostStartup, SuspendExternLeavesOnlyCommLoopRunning) {
    folder.AddAllGoodPlugins();
    CVelmoraApp app(folder.Paths());
    ASSERT_TRUE(app.InitInstance());
    app.Context().Int(kSuspendExtern) = 1;
    // Let a pass that may have started before the flag finish.
    std::uint64_t before = app.Comm().Passes();
    ASSERT_TRUE(
        WaitProcessingEvents("2 comm passes", [&] { return app.Comm().Passes() > before + 2; }));
    TestLogStart();
    before = app.Comm().Passes();
    ASSERT_TRUE(
        WaitProcessingEvents("10 comm passes", [&] { return app.Comm().Passes() > before + 10; }));
    app.Context().Int(kSuspendExtern) = 0;
    const std::vector<std::string> log = TestLogTake();
    EXPECT_GE(Matching(log, "CommLoop:").size(), 10u);
    EXPECT_TRUE(Matching(log, "Extern:").empty());
}

TEST_F(HostStartup, NullTemplateStopsLoadingAndStartUp) {
    folder.AddPlugin("Portdesk.so", "good/Portdesk.so");
    folder.AddPlugin("Knobset.so", "broken/NullTemplate.so");
    folder.AddPlugin("Tracelens.so", "good/Tracelens.so");
    CVelmoraApp app(folder.Paths());
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.MainFrame(), nullptr);
    const std::vector<std::string> log = TestLogTake();
    EXPECT_TRUE(Contains(log, "Create:Portdesk:ui"));
    EXPECT_TRUE(Contains(log, "Create:NullTemplate"));
    EXPECT_TRUE(Matching(log, "Create:Tracelens").empty());
    EXPECT_TRUE(Matching(log, "Extern:").empty()) << "the comm thread never ran a plug-in";
}

TEST_F(HostStartup, MissingCreateEntryStopsLoadingAndStartUp) {
    folder.AddPlugin("Morphtab.so", "broken/NoEntry.so");
    folder.AddPlugin("Monitor.so", "good/Monitor.so");
    CVelmoraApp app(folder.Paths());
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(Matching(TestLogTake(), "Create:Monitor").empty());
}

TEST_F(HostStartup, OneWindowPerPluginAndConnectFollowsTheTools) {
    folder.AddAllGoodPlugins();
    CVelmoraApp app(folder.Paths());
    ASSERT_TRUE(app.InitInstance());
    CMainFrame& frame = *app.MainFrame();
    SharedContext& ctx = app.Context();
    ctx.Int(kMenuEnable) = 0x3F5;
    QMdiArea* area = frame.MdiArea();
    area->closeAllSubWindows();
    ASSERT_TRUE(WaitProcessingEvents("every window to close",
                                     [&] { return area->subWindowList().isEmpty(); }));
    ctx.Int(kMenuEnable) = 0x3F5;
    app.OnCommand(HostCommand::kMonitor);
    app.OnCommand(HostCommand::kMonitor);
    ASSERT_EQ(area->subWindowList().size(), 1);
    frame.OnTimer();
    EXPECT_FALSE(frame.Action(HostCommand::kConnect)->isEnabled());
    EXPECT_FALSE(frame.Action(HostCommand::kMonitor)->isEnabled());
    EXPECT_TRUE(frame.Action(HostCommand::kKnobset)->isEnabled());
    area->subWindowList().first()->close();
    ASSERT_TRUE(WaitProcessingEvents("the Monitor menu bit", [&] {
        return (ctx.Int(kMenuEnable).load() & MenuEnableFlags::kMonitor) != 0;
    }));
    frame.OnTimer();
    EXPECT_TRUE(frame.Action(HostCommand::kConnect)->isEnabled());
    EXPECT_TRUE(frame.Action(HostCommand::kMonitor)->isEnabled());
}

TEST_F(HostStartup, ChildFramesTakeTheirGeometry) {
    folder.AddAllGoodPlugins();
    CVelmoraApp app(folder.Paths());
    ASSERT_TRUE(app.InitInstance());
    QMdiArea* area = app.MainFrame()->MdiArea();
    QMdiSubWindow* portdesk = area->subWindowList().first();
    EXPECT_EQ(portdesk->size(), QSize(400, 300));
    EXPECT_EQ(portdesk->pos(), QPoint((area->width() - 400) / 2, (area->height() - 300) / 2));
    EXPECT_EQ(app.Context().Int(kFrameWidth).load(), area->width());
    app.Context().Int(kMenuEnable) |= 0x3F4;
    app.OnCommand(HostCommand::kTracelens);
    app.OnCommand(HostCommand::kKnobset);
    QMdiSubWindow* tracelens = nullptr;
    QMdiSubWindow* knobset = nullptr;
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (w->windowTitle() == "Tracelens")
            tracelens = w;
        if (w->windowTitle() == "Knobset")
            knobset = w;
    }
    ASSERT_TRUE(tracelens && knobset);
    // The plug-in's 1280 x 800, within the room the MDI area has.
    EXPECT_EQ(tracelens->size(), QSize(1280, 800).boundedTo(area->viewport()->size()));
    EXPECT_EQ(knobset->pos(), QPoint(0, 0));
}

TEST_F(HostStartup, ExitWritesTheFoundPortBack) {
    {
        CVelmoraApp app(folder.Paths());
        ASSERT_TRUE(app.InitInstance());
        app.Context().Int(kComPort) = 17;
        app.Context().Int(kSlaveId) = 9;
        app.ExitInstance();
        EXPECT_EQ(app.Context().Int(kCloseRequest).load(), 1)
            << "a long plug-in call is asked to end";
        const std::uint64_t passes = app.Comm().Passes();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(app.Comm().Passes(), passes) << "the comm thread has ended";
    }
    const HostConfig again = ReadHostConfig(folder.AppDir() + "/Velmora.ini");
    EXPECT_EQ(again.comPort, 17);
    EXPECT_EQ(again.slaveId, 9);
}

TEST_F(HostStartup, CloseHandshakeWaitsOnlyWhileBusy) {
    CVelmoraApp app(folder.Paths());
    ASSERT_TRUE(app.InitInstance());
    SharedContext& ctx = app.Context();
    EXPECT_TRUE(app.SaveAllModified());
    EXPECT_EQ(ctx.Int(kCloseRequest).load(), 0) << "not busy: no request, no wait";

    ctx.Int(kBusyFlags) = BusyFlags::kBusy;
    std::atomic<bool> sawRequest{false};
    std::thread plugin([&] {
        sawRequest = static_cast<bool>(
            WaitUntil("the close request", [&] { return ctx.Int(kCloseRequest).load() != 0; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        ctx.Int(kBusyFlags) |= BusyFlags::kFinished;
    });
    EXPECT_TRUE(app.SaveAllModified());
    EXPECT_TRUE(sawRequest.load());
    EXPECT_NE(ctx.Int(kBusyFlags).load() & BusyFlags::kFinished, 0) << "returned only after bit 1";
    plugin.join();
}

} // namespace
