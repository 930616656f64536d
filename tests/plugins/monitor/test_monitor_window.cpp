// The monitor window: lists from the description files, ticks kept in the
// tick file, the buttons, the "Clear" menu, the mode selectors;
// and on-line against the simulated drive over a pty, the rows following it.
#include "CListCtrlEx.h"
#include "ContextStorage.h"
#include "DriveSim.h"
#include "HostConfig.h"
#include "MonitorApp.h"
#include "MonitorPoll.h"
#include "MonitorView.h"
#include "QtWaitUntil.h"
#include "SerialFormat.h"
#include "TempDir.h"

#include <QPushButton>
#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {
using namespace monitor;

// The window on a context filled as the host fills it, with the product
// data copied into a folder of the test's own (the window writes its tick
// file there).
struct MonitorHost {
    TempDir dir;
    ContextStorage storage;
    std::unique_ptr<monitor::CMonitorView> view;

    MonitorHost() {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Path() / "Language");
        fs::copy("Language/Monitor", dir.Path() / "Language/Monitor", fs::copy_options::recursive);
        storage.CreateParmStore(nullptr);
        storage.Fill(ReadHostConfig("Velmora.ini"), dir.Path().string(), nullptr);
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
    SharedContext& Ctx() { return storage.Context(); }
    monitor::CMonitorView& Open() {
        view = std::make_unique<monitor::CMonitorView>(App());
        view->OnTimer();
        return *view;
    }
    QString Cell(int group, int row, int column) const {
        return view->List(group)->GetItemText(row, column);
    }
};

// The host's comm thread: the monitor's cycle entry, over and over.
class CommThread {
public:
    CommThread()
        : thread_([this] {
              while (!stop_) {
                  monitor::CMonitorApp::Instance().ExternThread();
                  std::this_thread::sleep_for(std::chrono::microseconds(200));
              }
          }) {}
    ~CommThread() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
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
    ASSERT_TRUE(view.ClearRow(7));
    EXPECT_EQ(host.App().board.clearAddress.load(), 0x1000 + 10);

    EXPECT_EQ(host.Cell(kInput, 2, 2), "PCLR");
    view.SetPinMode(kInput, 1);
    EXPECT_EQ(host.Cell(kInput, 2, 2), "ZCLAMP");
    EXPECT_EQ(host.Cell(kOutput, 4, 2), "INP");
}

// A simulated T5 in its demo move, DI3 held on, on a pty whose port the
// "search" published.
struct DemoDrive {
    drivesim::DriveSim sim{[] {
        drivesim::SimConfig config;
        config.motion = drivesim::MotionMode::Demo;
        config.inputPins = 0x0004;
        return config;
    }()};
    CModbus port;
    explicit DemoDrive(SharedContext& ctx) {
        sim.Start();
        EXPECT_EQ(port._OpenDevicePort(sim.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
        ctx.Int(kOnline) = 1;
        ctx.ComHandle().store(port.hPort); // the monitor's link adopts and closes it
    }
};

TEST(MonitorOnline, RowsFollowTheDrive) {
    MonitorHost host;
    DemoDrive drive(host.Ctx());
    CMonitorView& view = host.Open();
    CommThread comm;
    view.OpenButton()->click();
    auto shows = [&](int group, int row, int column, const QString& text) {
        return [&host, group, row, column, text] { return host.Cell(group, row, column) == text; };
    };
    ASSERT_TRUE(WaitProcessingEvents("DI3 on", shows(kInput, 2, 3, "ON")));
    ASSERT_TRUE(WaitProcessingEvents("DO2 servo on", shows(kOutput, 1, 3, "ON")));
    ASSERT_TRUE(WaitProcessingEvents("servo state", shows(kStatus, 2, 2, "Servo on")));
    ASSERT_TRUE(
        WaitProcessingEvents("a speed", [&] { return !host.Cell(kMotion, 0, 3).isEmpty(); }));

    // An overload: the drive switches its servo off and reports the alarm.
    drive.sim.WithState([](drivesim::DriveState& state) { state.SetAlarm(4); });
    ASSERT_TRUE(WaitProcessingEvents("the alarm", shows(kStatus, 0, 2, "Overload")));
    ASSERT_TRUE(WaitProcessingEvents("servo off", shows(kStatus, 2, 2, "Servo off")));

    ASSERT_TRUE(view.ClearRow(11)); // the alarm code
    ASSERT_TRUE(WaitProcessingEvents("the alarm cleared", shows(kStatus, 0, 2, "No alarm")));
    view.StopButton()->click();
}

} // namespace
