// The simulator serving a pseudo-terminal in-process: faults, unplugging and
// its link. (Each request and reply byte for byte: test_modbus_slave.cpp; the
// state file across a restart: test_drive_state.cpp and
// test_routeplan_window_sim.cpp.)
#include "SerialClient.h"
#include "SimTestSupport.h"
#include "TempDir.h"
#include "WaitUntil.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>

using namespace drivesim;

namespace {

const auto kReadGains = Hex("01 03 00 10 00 02 C5 CE");
const std::string kGainsReply = "01 03 04 01 E0 01 0E 7A 6D";

// Each fault switch on its own, over successive requests for the two gains.
TEST(SimulatorPty, EveryFaultSwitch) {
    const struct {
        const char* name;
        FaultSettings faults;
        std::vector<std::string> replies; // per request; "" = silence
        double minMs = 0;
    } cases[] = {
        {"drop every 2nd", {.dropEvery = 2}, {kGainsReply, "", kGainsReply}},
        // The CRC's last byte inverted.
        {"corrupt every reply", {.corruptEvery = 1}, {"01 03 04 01 E0 01 0E 7A 92"}},
        {"stray bytes", {.strayEvery = 1, .strayBytes = {0x00, 0x41}}, {"00 41 " + kGainsReply}},
        {"late", {.lateMs = 200}, {kGainsReply}, 180},
        {"silent", {.silent = true}, {""}},
        {"exception at 17", {.exceptionAddress = 17}, {ToHex(WithCrc(Hex("01 83 04")))}},
    };
    RunningSim s(SimOn(DriveModel::T8));
    SerialClient client(s.sim.SlavePath(), B115200);
    for (const auto& c : cases) {
        s.sim.SetFaults(c.faults);
        for (const std::string& expected : c.replies) {
            double ms = 0;
            const auto reply =
                client.Transact(kReadGains, expected.empty() ? 9 : (expected.size() + 1) / 3,
                                expected.empty() ? 200 : 2000, &ms);
            EXPECT_EQ(ToHex(reply), expected) << c.name;
            EXPECT_GE(ms, c.minMs) << c.name;
        }
    }
    // The exception address spares requests that do not touch it.
    EXPECT_EQ(ToHex(client.Transact(WithCrc(Hex("01 03 00 10 00 01")), 7)),
              ToHex(WithCrc(Hex("01 03 02 01 E0"))));
}

TEST(SimulatorPty, UnplugAndReplugLikeACable) {
    TempDir dir;
    const SimConfig config = SimOn(DriveModel::T8, 1, dir.File("drive"));
    RunningSim s(config);
    EXPECT_EQ(std::filesystem::read_symlink(config.linkPath), s.sim.SlavePath());
    SerialClient client(config.linkPath, B115200);
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);

    s.sim.Unplug();
    EXPECT_FALSE(std::filesystem::exists(config.linkPath));
    // The open port now fails like an adapter pulled out of the socket.
    EXPECT_EQ(::write(client.Fd(), kReadGains.data(), kReadGains.size()), -1);
    EXPECT_EQ(errno, EIO);

    s.sim.Replug();
    SerialClient again(config.linkPath, B115200);
    EXPECT_EQ(ToHex(again.Transact(kReadGains, 9)), kGainsReply);
}

TEST(SimulatorPty, UnplugsAfterTheNthReplyAndComesBack) {
    TempDir dir;
    SimConfig config = SimOn(DriveModel::T8, 1, dir.File("drive"));
    config.faults.unplugAfter = 1;
    config.faults.replugAfterMs = 150;
    RunningSim s(config);
    {
        SerialClient client(config.linkPath, B115200);
        EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);
        ASSERT_TRUE(WaitUntil("the port to be unplugged after its reply", [&] {
            pollfd line{client.Fd(), 0, 0};
            return ::poll(&line, 1, 0) == 1 && (line.revents & POLLHUP) != 0;
        }));
    }
    ASSERT_TRUE(WaitUntil("the port to come back",
                          [&] { return std::filesystem::exists(config.linkPath); }));
    SerialClient client(config.linkPath, B115200);
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);
}

TEST(SimulatorPty, NeverReplacesAFileWithItsLink) {
    TempDir dir;
    DriveSim sim(SimOn(DriveModel::T8, 1, dir.Write("notes.txt", "keep me")));
    EXPECT_THROW(sim.Start(), std::system_error);
    EXPECT_EQ(TempDir::Read(dir.File("notes.txt")), "keep me");
}

} // namespace
