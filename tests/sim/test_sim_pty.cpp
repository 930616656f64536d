// The simulator serving a pseudo-terminal in-process: line settings, pacing,
// faults, unplugging and restarts.
#include "DriveSim.h"
#include "SerialClient.h"
#include "SimTestSupport.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace drivesim;

namespace {

const auto kReadGains = Hex("01 03 00 10 00 02 C5 CE");
const std::string kGainsReply = "01 03 04 01 E0 01 0E 7A 6D";

SimConfig T8Config(int format = 3) {
    SimConfig config;
    config.model = DriveModel::T8;
    config.format = format;
    return config;
}

class Simulator {
public:
    explicit Simulator(SimConfig config) : sim(std::move(config)) { sim.Start(); }
    DriveSim sim;
};

TEST(SimulatorPty, AnswersAMasterOverThePty) {
    Simulator s(T8Config());
    SerialClient client(s.sim.SlavePath(), B115200);
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);
    EXPECT_EQ(ToHex(client.Transact(Hex("01 10 00 10 00 01 02 01 F4 A4 D7"), 8)),
              "01 10 00 10 00 01 00 0C");
    EXPECT_EQ(s.sim.WithState([](DriveState& st) { return *st.Value(16); }), 500);
    // Another slave address: silence.
    EXPECT_TRUE(client.Transact(WithCrc(Hex("02 03 00 10 00 02")), 9, 200).empty());
}

TEST(SimulatorPty, AnswersOnlyWhenTheLineSettingsMatchItsFormat) {
    struct Case {
        int format;
        speed_t speed;
        int stopBits;
        char parity;
        bool answers;
    } cases[] = {
        {3, B115200, 1, 'N', true},
        {3, B57600, 1, 'N', false},
        {3, B115200, 2, 'N', false},
        {3, B115200, 1, 'O', false},
        {7, B115200, 2, 'N', true},
        {15, B115200, 1, 'O', true},
        {12, B19200, 1, 'O', true},
        {12, B19200, 1, 'N', false},
        {9, B38400, 1, 'E', true},
        // Even parity cannot be told from none on a pty.
        {9, B38400, 1, 'N', true},
    };
    for (const Case& c : cases) {
        Simulator s(T8Config(c.format));
        SerialClient client(s.sim.SlavePath(), c.speed, c.stopBits, c.parity);
        const auto reply = client.Transact(kReadGains, 9, c.answers ? 1000 : 250);
        EXPECT_EQ(!reply.empty(), c.answers) << "format " << c.format;
    }
}

TEST(SimulatorPty, RepliesArriveAtTheWireSpeedOfTheFormat) {
    Simulator s(T8Config(0)); // 19200 N,1
    SerialClient client(s.sim.SlavePath(), B19200);
    double ms = 0;
    // 100 registers: 8 + 205 bytes, 110.9 ms of wire time plus the turnaround.
    const auto reply = client.Transact(WithCrc(Hex("01 03 00 00 00 64")), 205, 2000, &ms);
    ASSERT_EQ(reply.size(), 205u);
    EXPECT_TRUE(wirelay::CheckModbusCrc(reply.data(), reply.size()));
    EXPECT_GT(ms, 90);
    EXPECT_LT(ms, 400);
}

TEST(SimulatorPty, DropsAndCorruptsEveryNthReply) {
    Simulator s(T8Config());
    FaultSettings faults;
    faults.dropEvery = 2;
    s.sim.SetFaults(faults);
    SerialClient client(s.sim.SlavePath(), B115200);
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);
    EXPECT_TRUE(client.Transact(kReadGains, 9, 200).empty());
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);

    faults = {};
    faults.corruptEvery = 1;
    s.sim.SetFaults(faults);
    const auto bad = client.Transact(kReadGains, 9);
    ASSERT_EQ(bad.size(), 9u);
    EXPECT_FALSE(wirelay::CheckModbusCrc(bad.data(), bad.size()));
}

TEST(SimulatorPty, StrayBytesLatenessAndSilence) {
    Simulator s(T8Config());
    SerialClient client(s.sim.SlavePath(), B115200);
    FaultSettings faults;
    faults.strayEvery = 1;
    faults.strayBytes = {0x00, 0x41};
    s.sim.SetFaults(faults);
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 11)), "00 41 " + kGainsReply);

    faults = {};
    faults.lateMs = 200;
    s.sim.SetFaults(faults);
    double ms = 0;
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 9, 2000, &ms)), kGainsReply);
    EXPECT_GT(ms, 180);

    faults = {};
    faults.silent = true;
    s.sim.SetFaults(faults);
    EXPECT_TRUE(client.Transact(kReadGains, 9, 250).empty());
}

TEST(SimulatorPty, ExceptionForOneAddress) {
    Simulator s(T8Config());
    FaultSettings faults;
    faults.exceptionAddress = 17;
    s.sim.SetFaults(faults);
    SerialClient client(s.sim.SlavePath(), B115200);
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 5)), ToHex(WithCrc(Hex("01 83 04"))));
    EXPECT_EQ(ToHex(client.Transact(WithCrc(Hex("01 03 00 10 00 01")), 7)),
              ToHex(WithCrc(Hex("01 03 02 01 E0"))));
}

TEST(SimulatorPty, UnplugAndReplugLikeACable) {
    TempDir dir;
    SimConfig config = T8Config();
    config.linkPath = dir.File("drive");
    Simulator s(config);
    const std::string first = s.sim.SlavePath();
    EXPECT_EQ(std::filesystem::read_symlink(config.linkPath), first);
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
    SimConfig config = T8Config();
    config.linkPath = dir.File("drive");
    config.faults.unplugAfter = 1;
    config.faults.replugAfterMs = 150;
    Simulator s(config);
    {
        SerialClient client(config.linkPath, B115200);
        EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);
    }
    bool back = false;
    for (int i = 0; i < 100 && !back; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        back = std::filesystem::exists(config.linkPath);
    }
    ASSERT_TRUE(back);
    SerialClient client(config.linkPath, B115200);
    EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply);
}

TEST(SimulatorPty, NeverReplacesAFileWithItsLink) {
    TempDir dir;
    SimConfig config = T8Config();
    config.linkPath = dir.Write("notes.txt", "keep me");
    DriveSim sim(config);
    EXPECT_THROW(sim.Start(), std::system_error);
    EXPECT_EQ(TempDir::Read(config.linkPath), "keep me");
}

TEST(SimulatorPty, SurvivesAMasterThatClosesAndReopensThePort) {
    Simulator s(T8Config());
    for (int i = 0; i < 3; ++i) {
        SerialClient client(s.sim.SlavePath(), B115200);
        EXPECT_EQ(ToHex(client.Transact(kReadGains, 9)), kGainsReply) << i;
    }
}

TEST(SimulatorPty, ARestartedSimulatorIsTheSameDriveOnANewPort) {
    TempDir dir;
    SimConfig config = T8Config();
    config.linkPath = dir.File("drive");
    config.statePath = dir.File("eeprom.ini");
    {
        Simulator s(config);
        SerialClient client(config.linkPath, B115200);
        client.Transact(Hex("01 10 00 10 00 01 02 01 F4 A4 D7"), 8);
        EXPECT_EQ(ToHex(client.Transact(WithCrc(Hex("01 10 00 81 00 01 02 00 01")), 8)),
                  ToHex(WithCrc(Hex("01 10 00 81 00 01"))));
        EXPECT_EQ(ToHex(client.Transact(WithCrc(Hex("01 03 00 81 00 01")), 7)),
                  ToHex(WithCrc(Hex("01 03 02 00 01"))));
    }
    EXPECT_FALSE(std::filesystem::exists(config.linkPath));
    Simulator s(config);
    SerialClient client(config.linkPath, B115200);
    EXPECT_EQ(ToHex(client.Transact(WithCrc(Hex("01 03 00 10 00 01")), 7)),
              ToHex(WithCrc(Hex("01 03 02 01 F4"))));
}

} // namespace
