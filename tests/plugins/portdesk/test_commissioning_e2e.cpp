// The whole chain a technician uses: the real host, the drive search and the
// parameter editor against a simulated drive. "Connect" finds the drive, the
// editor opens by itself and reads every parameter through the host's
// communication thread.
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

TEST(Commissioning, ConnectOpensTheEditorWhichReadsTheWholeTable) {
    PortdeskHarness h(Drive(drivesim::DriveModel::T5, 1, 3), 1000, true);
    ASSERT_TRUE(h.Started());
    h.Connect(kDrivePort, 1, 4); // COM5, ID 1, the fourth format: 115200 N,1
    ASSERT_TRUE(h.WaitForResultBox());
    EXPECT_EQ(h.Ctx().Int(kLinkFound).load(), 1);
    EXPECT_EQ(h.Ctx().Parms().iModel.load(), kModelT5);

    auto editor = [&] { return h.App().MainFrame()->findChild<QWidget*>("KnobsetView"); };
    ASSERT_TRUE(WaitProcessingEvents("the parameter editor to open", editor));
    EXPECT_TRUE(WaitProcessingEvents(
        "the editor's cycle entry to read the table",
        [&] { return ReadAllRequests(h.Tap().Requests()) >= 32; }, std::chrono::seconds(60)));
    EXPECT_EQ(ReadAllRequests(h.Tap().Requests()), 32);
}

} // namespace
