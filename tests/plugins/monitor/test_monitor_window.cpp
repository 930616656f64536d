// The monitor window: lists from the description files, ticks kept in the
// tick file, the buttons, the "Clear" menu, the mode selectors;
// and on-line against the simulated drive over a pty, the rows following it.
#include "../FilledContext.h"
#include "CListCtrlEx.h"
#include "DriveSim.h"
#include "MonitorApp.h"
#include "MonitorPoll.h"
#include "MonitorView.h"
#include "QtWaitUntil.h"
#include "SerialFormat.h"
#include "TempDir.h"

#include <QPushButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {
using namespace monitor;

// The window on a context filled as the host fills it, with the product
// data copied into a folder of the test's own (the window writes its tick
// file there).
struct MonitorHost {
    TempDir dir;
    FilledContext context{dir.Path().string()};
    std::unique_ptr<monitor::CMonitorView> view;

    MonitorHost() {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Path() / "Language");
        fs::copy("Language/Monitor", dir.Path() / "Language/Monitor", fs::copy_options::recursive);
        Ctx().SetLanguage(kLangMonitor, kLanguageEnglish);
        monitor::CMonitorApp& app = App();
        monitor::MonitorBoard& board = app.board;
        board.command = board.status = board.monitorOn = board.linkWish = 0;
        board.mode = board.stoppedByYield = board.clearPending = 0;
        board.group = board.index = 0;
        app.Attach(&Ctx());
    }
    ~MonitorHost() {
        view.reset();
        monitor::CMonitorApp& app = App();
        if (app.link.modbus.hPort > 0)
            app.link.modbus.CloseComPort();
        app.link.modbus.hPort = 0;
    }

    static monitor::CMonitorApp& App() { return monitor::CMonitorApp::Instance(); }
    SharedContext& Ctx() { return context.Ctx(); }
    monitor::CMonitorView& Open() {
        view = std::make_unique<monitor::CMonitorView>(App());
        view->OnTimer();
        return *view;
    }
    QString Cell(int group, int row, int column) const {
        return view->List(group)->GetItemText(row, column);
    }
};

TEST(MonitorWindow, ListsShowTheDescribedItemsAndKeepTheTicks) {
    MonitorHost host;
    {
        CMonitorView& view = host.Open();
        EXPECT_EQ(host.Cell(kInput, 0, 1), "DI1");
        view.SetAllTicks(kStatus, false);
        view.List(kMotion)->item(2, 0)->setCheckState(Qt::Unchecked);
        view.OnTimer();
        EXPECT_EQ(host.App().items[kMotion].items[2].check.load(), 0);
        EXPECT_EQ(host.App().items[kStatus].items[10].check.load(), 0);
        host.view.reset(); // closing writes the ticks
    }
    CMonitorView& again = host.Open();
    EXPECT_EQ(again.List(kMotion)->item(2, 0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(again.List(kMotion)->item(3, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(again.List(kStatus)->item(0, 0)->checkState(), Qt::Unchecked);
}

TEST(MonitorWindow, ButtonsMenuAndModes) {
    MonitorHost host;
    CMonitorView& view = host.Open();
    EXPECT_TRUE(view.OpenButton()->isEnabled());
    EXPECT_FALSE(view.StopButton()->isEnabled());
    view.OpenButton()->click();
    EXPECT_FALSE(view.OpenButton()->isEnabled());
    EXPECT_TRUE(view.StopButton()->isEnabled());
    EXPECT_EQ(host.App().board.linkWish, 1);
    view.StopButton()->click();
    EXPECT_TRUE(view.OpenButton()->isEnabled());

    EXPECT_EQ(view.MenuFor(6), QStringList{"Clear"}); // command pulse count
    EXPECT_TRUE(view.MenuFor(0).isEmpty());           // motor speed

    EXPECT_EQ(host.Cell(kInput, 2, 2), "PCLR");
    view.SetPinMode(kInput, 1);
    EXPECT_EQ(host.Cell(kInput, 2, 2), "ZCLAMP");
    EXPECT_EQ(host.Cell(kOutput, 4, 2), "INP");
}

// On-line against a simulated T5 in its demo move with DI3 held on, the test
// playing the host's comm thread.
TEST(MonitorOnline, RowsFollowTheDrive) {
    MonitorHost host;
    drivesim::SimConfig config;
    config.motion = drivesim::MotionMode::Demo;
    config.inputPins = 0x0004;
    drivesim::DriveSim sim(config);
    sim.Start();
    CModbus port; // as the search publishes it: the monitor's link adopts and closes it
    ASSERT_EQ(port._OpenDevicePort(sim.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    host.Ctx().Int(kOnline) = 1;
    host.Ctx().ComHandle().store(port.hPort);
    CMonitorView& view = host.Open();
    view.OpenButton()->click();
    const auto until = [](const char* what, const std::function<bool()>& done) {
        return WaitUntil(what, done, std::chrono::seconds(20), [] {
            CMonitorApp::Instance().ExternThread();
            ProcessEventsBriefly();
        });
    };
    const auto shows = [&](const char* what, int group, int row, int column, const char* text) {
        return until(what, [&] { return host.Cell(group, row, column) == text; });
    };
    ASSERT_TRUE(shows("DI3 on", kInput, 2, 3, "ON"));
    ASSERT_TRUE(shows("DO2 servo on", kOutput, 1, 3, "ON"));
    ASSERT_TRUE(shows("servo state", kStatus, 2, 2, "Servo on"));
    ASSERT_TRUE(until("a speed", [&] { return !host.Cell(kMotion, 0, 3).isEmpty(); }));

    // An overload: the drive switches its servo off and reports the alarm.
    sim.WithState([](drivesim::DriveState& state) { state.SetAlarm(4); });
    ASSERT_TRUE(shows("the alarm", kStatus, 0, 2, "Overload"));
    ASSERT_TRUE(shows("servo off", kStatus, 2, 2, "Servo off"));
    ASSERT_TRUE(view.ClearRow(11)); // the alarm code
    ASSERT_TRUE(shows("the alarm cleared", kStatus, 0, 2, "No alarm"));
    view.StopButton()->click();
}

} // namespace
