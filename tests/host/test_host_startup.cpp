// Start-up, plug-in loading, the comm thread and shutdown of the real host
// with test plug-ins.
#include "HostCommands.h"
#include "HostFixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace {

std::vector<std::string> Matching(const std::vector<std::string>& log, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& e : log)
        if (e.rfind(prefix, 0) == 0)
            out.push_back(e);
    return out;
}

using HostStartup = HostTest;

// Then the comm thread calls CommLoop and the tools' entries in their order.
TEST_F(HostStartup, AllPluginsLoadInTableOrderPortdeskOpensFirstAndTheCommThreadRuns) {
    folder.AddAllGoodPlugins();
    CVelmoraApp app(folder.Paths());
    app.commLoopArg = 42;
    ASSERT_TRUE(app.InitInstance());
    const std::vector<std::string> log = TestLogTake();
    const std::vector<std::string> expected = {
        "Create:Portdesk:ui",  "Create:Knobset:ui",  "Create:Morphtab:ui",
        "Create:Tracelens:ui", "Create:Monitor:ui",  "Create:Glidebay:ui",
        "Create:Nudgepad:ui",  "Create:Gainwise:ui", "Create:Routeplan:ui"};
    EXPECT_EQ(Matching(log, "Create:"), expected);
    // CommLoop runs once on the UI thread right after Portdesk loads, before
    // the next plug-in is created.
    EXPECT_EQ(std::next(std::find(log.begin(), log.end(), "Create:Portdesk:ui")),
              std::find(log.begin(), log.end(), "CommLoop:42:ui"));
    const QList<QMdiSubWindow*> windows = app.MainFrame()->MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), "Portdesk");

    TestLogStart();
    const std::uint64_t before = app.Comm().Passes();
    ASSERT_TRUE(
        WaitProcessingEvents("5 comm passes", [&] { return app.Comm().Passes() > before + 5; }));
    app.ExitInstance();
    std::vector<std::string> passes = TestLogTake();
    std::erase_if(passes, [](const std::string& e) { return e.rfind("Language:", 0) == 0; });
    const auto start = std::find(passes.begin(), passes.end(), "CommLoop:42:comm");
    ASSERT_NE(start, passes.end());
    const std::vector<std::string> pass = {
        "CommLoop:42:comm",  "Extern:Knobset:0",  "Extern:Monitor:0",  "Extern:Tracelens:0",
        "Extern:Nudgepad:0", "Extern:Glidebay:0", "Extern:Gainwise:0", "Extern:Routeplan:0"};
    EXPECT_EQ(std::vector<std::string>(start, start + 8), pass);
    EXPECT_TRUE(Matching(passes, "Extern:Morphtab").empty());
}

TEST_F(HostStartup, SuspendExternLeavesOnlyCommLoopRunning) {
    ASSERT_TRUE(Start(true));
    CVelmoraApp& app = *host;
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

TEST_F(HostStartup, ABrokenPluginStopsLoadingAndStartUp) {
    const struct {
        const char* broken;
        std::vector<std::string> created; // loading stops at the broken one
    } cases[] = {{"NullTemplate", {"Create:Portdesk:ui", "Create:NullTemplate"}},
                 {"NoEntry", {"Create:Portdesk:ui"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.broken);
        HostFolder plugins;
        plugins.AddPlugin("Portdesk.so", "good/Portdesk.so");
        plugins.AddPlugin("Knobset.so", std::string("broken/") + c.broken + ".so");
        plugins.AddPlugin("Tracelens.so", "good/Tracelens.so");
        TestLogStart();
        CVelmoraApp app(plugins.Paths());
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.MainFrame(), nullptr);
        const std::vector<std::string> log = TestLogTake();
        EXPECT_EQ(Matching(log, "Create:"), c.created);
        EXPECT_TRUE(Matching(log, "Extern:").empty()) << "the comm thread never ran a plug-in";
    }
}

// The frame's menu follows the tools' bits (the plug-ins set them: one
// window each, Connect only while no tool is open); window and language
// commands stay. The frame tells the plug-ins its size. Started without
// plug-in files, as every case here that passes no plug-ins.
TEST_F(HostStartup, TheMenuFollowsTheToolBits) {
    ASSERT_TRUE(Start(false));
    CMainFrame& frame = *host->MainFrame();
    EXPECT_EQ(host->Context().Int(kFrameWidth).load(), frame.MdiArea()->width());
    host->OnCommand(HostCommand::kKnobset); // inert without the plug-in
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
    host->Context().Int(kMenuEnable) = MenuEnableFlags::kTracelens | MenuEnableFlags::kRouteplan;
    frame.OnTimer();
    EXPECT_FALSE(frame.Action(HostCommand::kConnect)->isEnabled());
    EXPECT_TRUE(frame.Action(HostCommand::kTracelens)->isEnabled());
    EXPECT_FALSE(frame.Action(HostCommand::kGainwise)->isEnabled());
    EXPECT_TRUE(frame.Action(HostCommand::kCascade)->isEnabled());
    EXPECT_TRUE(frame.Action(kLanguageEnglish)->isEnabled());
}

TEST_F(HostStartup, ExitWritesTheFoundPortBack) {
    ASSERT_TRUE(Start(false));
    host->Context().Int(kComPort) = 17;
    host->Context().Int(kSlaveId) = 9;
    host->ExitInstance();
    EXPECT_EQ(host->Context().Int(kCloseRequest).load(), 1)
        << "a long plug-in call is asked to end";
    const std::uint64_t passes = host->Comm().Passes();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(host->Comm().Passes(), passes) << "the comm thread has ended";
    host.reset();
    const HostConfig again = ReadHostConfig(folder.AppDir() + "/Velmora.ini");
    EXPECT_EQ(std::pair(again.comPort, again.slaveId), std::pair(17, 9));
}

TEST_F(HostStartup, CloseHandshakeWaitsOnlyWhileBusy) {
    ASSERT_TRUE(Start(false));
    SharedContext& ctx = host->Context();
    EXPECT_TRUE(host->SaveAllModified());
    EXPECT_EQ(ctx.Int(kCloseRequest).load(), 0) << "not busy: no request, no wait";

    ctx.Int(kBusyFlags) = BusyFlags::kBusy;
    std::atomic<bool> sawRequest{false};
    std::thread plugin([&] {
        sawRequest = static_cast<bool>(
            WaitUntil("the close request", [&] { return ctx.Int(kCloseRequest).load() != 0; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        ctx.Int(kBusyFlags) |= BusyFlags::kFinished;
    });
    EXPECT_TRUE(host->SaveAllModified());
    EXPECT_TRUE(sawRequest.load());
    EXPECT_NE(ctx.Int(kBusyFlags).load() & BusyFlags::kFinished, 0) << "returned only after bit 1";
    plugin.join();
}

} // namespace
