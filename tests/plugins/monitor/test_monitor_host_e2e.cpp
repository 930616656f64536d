// The monitor in the real program, as a user meets it in the demonstration:
// "Connect" finds the simulated drive (its demo move running, DI1 held on),
// Monitor › Monitor... opens the window, "Open com" starts, and the rows follow
// the drive through the host's communication thread.
#include "HostCommands.h"
#include "PortdeskHarness.h"

#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

TEST(MonitorInTheProgram, OpenComAfterConnectShowsTheDriveMoving) {
    drivesim::SimConfig drive = Drive(drivesim::DriveModel::T5, 1, 3);
    drive.motion = drivesim::MotionMode::Demo;
    drive.inputPins = 0x0001;
    PortdeskHarness h(drive, 1000, true, std::nullopt, {"Monitor"});
    ASSERT_TRUE(h.Started());
    h.Connect(kDrivePort, 1, 4); // COM5, ID 1, 115200 N,1
    ASSERT_TRUE(h.WaitForResultBox());
    // The editor opens by itself and reads the table first; a demand for the
    // link while monitoring runs would stop the monitor (as it should).
    auto tableRead = [&] {
        int reads = 0;
        for (const WireTap::Request& r : h.Tap().Requests())
            reads += r.bytes.size() == 8 && r.bytes[1] == 0x03 && r.bytes[5] == 100;
        return reads >= 32;
    };
    ASSERT_TRUE(
        WaitProcessingEvents("the editor to read the table", tableRead, std::chrono::seconds(60)));

    h.App().OnCommand(HostCommand::kMonitor);
    QWidget* view = nullptr;
    ASSERT_TRUE(WaitProcessingEvents("the monitor window", [&] {
        view = h.App().MainFrame()->findChild<QWidget*>("MonitorView");
        return view != nullptr;
    }));
    view->findChild<QPushButton*>("openCom")->click();
    auto cell = [view](const char* list, int row, int column) {
        const QTableWidgetItem* item = view->findChild<QTableWidget*>(list)->item(row, column);
        return item != nullptr ? item->text() : QString();
    };
    ASSERT_TRUE(WaitProcessingEvents(
        "DI1 on", [&] { return cell("inputList", 0, 3) == "ON"; }, std::chrono::seconds(60)));
    QString speed;
    ASSERT_TRUE(WaitProcessingEvents("a speed", [&] {
        speed = cell("motionList", 0, 3);
        return !speed.isEmpty();
    }));
    ASSERT_TRUE(WaitProcessingEvents("the speed to change",
                                     [&] { return cell("motionList", 0, 3) != speed; }));
    EXPECT_EQ(cell("statusList", 2, 2), "Servo on");
    view->findChild<QPushButton*>("stopCom")->click();
}

} // namespace
