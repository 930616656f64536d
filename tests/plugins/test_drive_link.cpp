// The guarded call against pseudo-terminals that disappear and come back: a
// failed request purges, closes, reopens the port by its COM number and is
// sent exactly once more.
#include "DriveLink.h"
#include "FarEnd.h"
#include "FilledContext.h"
#include "PortMapFolder.h"
#include "SerialFormat.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// Modbus request "read 2 holding registers at 0x0100 from slave 1" and its answer.
const Bytes kReadRequest = WithCrc({0x01, 0x03, 0x01, 0x00, 0x00, 0x02});
const Bytes kReadAnswer = WithCrc({0x01, 0x03, 0x04, 0x12, 0x34, 0xAB, 0xCD});

FarEnd::Script Answering() {
    return [](std::size_t, const Bytes& request) {
        return request == kReadRequest ? kReadAnswer : Bytes{};
    };
}

DCB Format115200() {
    return wirelay::MakeSerialDcb(3); // 115200 N,1
}

class GuardedCall : public testing::Test {
protected:
    GuardedCall() {
        PointAt(first);
        link.port = 5;
        link.dcb = Format115200();
        EXPECT_EQ(link.modbus._OpenComPort(5, link.dcb, 1), 1);
    }
    ~GuardedCall() override {
        if (link.modbus.hPort > 0)
            link.modbus.CloseComPort();
    }
    int Read() {
        unsigned short regs[2] = {};
        const int result = link.ReadHoldingRegisters(0x0100, 2, regs);
        value = result ? (regs[0] << 16 | regs[1]) : 0;
        return result;
    }

    // Wait per write, polls, retries, retry interval.
    std::tuple<unsigned long, unsigned long, unsigned long, unsigned long> Settings() const {
        return {link.modbus.GetWaitWriteTime(), link.modbus.GetPreCountQueTimes(),
                link.modbus.GetRetryTimes(), link.modbus.GetRetryInterval()};
    }

    // COM5 leads to a link that the test points at the pty of its choice.
    void PointAt(const PtyPair& pty) {
        std::filesystem::remove(linkPath);
        std::filesystem::create_symlink(pty.SlavePath(), linkPath);
    }

    SleepRecorder pauses; // the 100 ms quick-setting polls take 1 ms here
    TempDir links;
    const std::string linkPath = links.File("drive");
    PortMapFolder folder{{{5, linkPath}}};
    PtyPair first;
    DriveLink link;
    unsigned value = 0;
};

// The first call outside a search takes the quick settings; a search keeps
// its own.
TEST_F(GuardedCall, FirstCallTakesTheQuickSettingsUnlessSearching) {
    FarEnd far(first, kReadRequest.size(), Answering());
    link.modbus.SetRetryTimes(7);
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(value, 0x1234ABCDu);
    EXPECT_EQ(Settings(), std::make_tuple(100ul, 100ul, 0ul, 0ul));
    EXPECT_EQ(link.quickSettings, 0);
    EXPECT_EQ(far.Requests().size(), 1u);

    link.quickSettings = 1;
    link.searching = 1;
    link.modbus.SetWaitWriteTime(7);
    link.modbus.SetPreCountQueTimes(500);
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(Settings(), std::make_tuple(7ul, 500ul, 0ul, 0ul));
    EXPECT_EQ(link.quickSettings, 1);
}

TEST_F(GuardedCall, PortThatCameBackIsReopenedAndTheRequestSentOnceMore) {
    {
        FarEnd far(first, kReadRequest.size(), Answering());
        ASSERT_EQ(Read(), 1);
    }
    first.CloseMaster(); // the adapter is unplugged ...
    PtyPair second;      // ... and plugged in again under a new device
    PointAt(second);
    FarEnd far(second, kReadRequest.size(), Answering());
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(value, 0x1234ABCDu);
    EXPECT_EQ(link.linkGood, 1);
    EXPECT_EQ(far.Requests().size(), 1u) << "exactly one retry reaches the new port";
    EXPECT_EQ(second.Settings().c_ospeed, B115200) << "reopened with the link's line settings";
}

// Unplugged with nothing in its place, then a new device that stays silent,
// then one that answers: each call reopens once and sends once more.
TEST_F(GuardedCall, PortThatStaysAwayOrSilentFailsAndTheNextCallReopensFirst) {
    first.CloseMaster();
    std::filesystem::remove(linkPath);
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(link.linkGood, 0);
    EXPECT_EQ(Read(), 0) << "still no port: fails again without hanging";
    PtyPair second;
    PointAt(second);
    {
        FarEnd far(second, kReadRequest.size(), [](std::size_t, const Bytes&) { return Bytes{}; });
        EXPECT_EQ(Read(), 0);
        EXPECT_EQ(link.linkGood, 0);
        EXPECT_EQ(far.Requests().size(), 1u) << "one retry after the reopen, no more";
    }
    // The port stays open on the new device; the next call starts with the
    // reopen (which finds it open) and sends once.
    FarEnd far(second, kReadRequest.size(), Answering());
    ASSERT_EQ(Read(), 1);
    EXPECT_EQ(link.linkGood, 1);
    EXPECT_EQ(far.Requests().size(), 1u);
}

TEST(DriveLinkContext, AdoptsThePublishedPortWithItsLineSettings) {
    FilledContext host;
    SharedContext& ctx = host.Ctx();
    const std::pair<int, int> ints[] = {
        {kSlaveId, 0x1207}, {kRetryTimes, 4}, {kRetryInterval, 25}, {kPreWaitTime, 2}};
    for (const auto& [slot, value] : ints)
        ctx.Int(slot) = value;

    DriveLink portdesk;
    portdesk.modbus.hPort = 42;
    portdesk.port = 9;
    portdesk.dcb = Format115200();
    portdesk.PublishPort(ctx);

    DriveLink tool;
    tool.ConfigureFromContext(ctx);
    // The slave address is the low byte of the slot.
    EXPECT_EQ(std::make_tuple(tool.modbus.GetSlaveAddress(), tool.modbus.GetRetryTimes(),
                              tool.modbus.GetRetryInterval(), tool.modbus.writeDelay),
              std::make_tuple(std::uint8_t{0x07}, 4ul, 25ul, 2u));
    EXPECT_TRUE(tool.AdoptPublishedPort(ctx));
    EXPECT_EQ(std::make_tuple(tool.modbus.hPort, tool.port, tool.dcb.BaudRate),
              std::make_tuple(42, 9, DWORD{CBR_115200}));
    EXPECT_FALSE(tool.AdoptPublishedPort(ctx)) << "the same handle is not adopted twice";

    // A new search found another port that got the same descriptor number.
    portdesk.port = 4;
    portdesk.PublishPort(ctx);
    EXPECT_TRUE(tool.AdoptPublishedPort(ctx));
    EXPECT_EQ(tool.port, 4);

    // Nothing is published while a search runs: the link keeps its port.
    ctx.ComHandle().store(0);
    EXPECT_FALSE(tool.AdoptPublishedPort(ctx));
    EXPECT_EQ(tool.modbus.hPort, 42);

    // After a failure the guarded call reopened a port of its own; following
    // the next published port closes it, so the device is free again.
    PtyPair own;
    tool.modbus.hPort = 0;
    ASSERT_EQ(tool.modbus._OpenDevicePort(own.SlavePath().c_str(), Format115200(), 1), 1);
    portdesk.modbus.hPort = 43;
    portdesk.PublishPort(ctx);
    EXPECT_TRUE(tool.AdoptPublishedPort(ctx));
    EXPECT_EQ(tool.modbus.hPort, 43);
    CUARTComm other;
    EXPECT_EQ(other._OpenDevicePort(own.SlavePath().c_str(), Format115200(), 1), 1)
        << "the link's own port was closed";
    other.CloseComPort();
    tool.modbus.hPort = 0; // not ours to close
}

} // namespace
