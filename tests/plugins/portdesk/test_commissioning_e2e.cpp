// The whole chain a technician uses: the real host, the drive search and the
// parameter editor against a simulated drive. "Connect" finds the drive, the
// editor opens by itself and reads every parameter through the host's
// communication thread; a second "Connect" moves the editor to the new port.
#include "HostCommands.h"
#include "PortdeskHarness.h"

#include <gtest/gtest.h>

namespace {

// Read Holding Registers requests for 100 registers, as the T5 read-all sends.
int ReadAllRequests(const std::vector<WireTap::Request>& requests) {
    int count = 0;
    for (const WireTap::Request& r : requests)
        count += r.bytes.size() == 8 && r.bytes[1] == 0x03 && r.bytes[4] == 0 && r.bytes[5] == 100;
    return count;
}

// "Connect" opens the editor, which reads the whole table. Then the drive
// moved to COM6 at another serial format while a drive still answers on
// COM5: after the second "Connect" the editor works on the port just
// published and sends nothing more to the old one.
TEST(Commissioning, ConnectOpensTheEditorAndASecondConnectMovesItToTheNewPort) {
    PortdeskHarness h(Drive(drivesim::DriveModel::T5, 1, 3), true,
                      Drive(drivesim::DriveModel::T5, 1, 2));
    ASSERT_TRUE(h.Started());
    h.Connect(kDrivePort, 1, 4); // 115200 N,1
    ASSERT_TRUE(h.WaitForResultBox());
    auto editor = [&] { return h.App().MainFrame()->findChild<QWidget*>("KnobsetView"); };
    ASSERT_TRUE(WaitProcessingEvents("the parameter editor to open", editor));
    ASSERT_TRUE(WaitProcessingEvents(
        "the editor's cycle entry to read the table from COM5",
        [&] { return ReadAllRequests(h.Tap().Requests()) >= 32; }, std::chrono::seconds(60)));
    EXPECT_EQ(ReadAllRequests(h.Tap().Requests()), 32);

    h.App().MainFrame()->MdiArea()->closeAllSubWindows();
    ASSERT_TRUE(WaitProcessingEvents("the editor to close", [&] { return editor() == nullptr; }));
    h.App().OnCommand(HostCommand::kConnect);
    ASSERT_TRUE(WaitProcessingEvents("Setup COM to open", [&] { return h.View() != nullptr; }));
    const std::size_t sentToCom5 = h.Tap().Requests().size();
    h.Connect(kSecondDrivePort, 1, 3); // 57600 N,1
    ASSERT_TRUE(h.WaitForResultBox());
    EXPECT_EQ(h.Boxes().boxes.back().style, MessageBoxStyle::kIconInformation);
    EXPECT_EQ(h.Ctx().Int(kComPort).load(), kSecondDrivePort);

    ASSERT_TRUE(WaitProcessingEvents("the parameter editor to open again", editor));
    EXPECT_TRUE(WaitProcessingEvents(
        "the editor to read the table from the drive on the new port",
        [&] { return ReadAllRequests(h.SecondTap().Requests()) >= 32; }, std::chrono::seconds(60)));
    EXPECT_EQ(h.Tap().Requests().size(), sentToCom5) << "nothing more went to the old port";
}

} // namespace
