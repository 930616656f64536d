// The serial port over real pseudo-terminals: the port map, exclusivity,
// messages, and a port that goes away under the program. (A COM number opened
// through the port map with its line settings: the simulator tests of
// tracelens and portdesk, whose drive answers only a matching line.)
#include "CommApi.h"
#include "CommPlot.h"
#include "FarEnd.h"
#include "PortMap.h"
#include "PortMapFolder.h"
#include "SerialFormat.h"
#include "UARTComm.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class Messages {
public:
    Messages() {
        wirelay::SetMessageBoxFunction([this](const std::string& text) { shown.push_back(text); });
    }
    ~Messages() { wirelay::SetMessageBoxFunction(nullptr); }
    std::vector<std::string> shown;
};

TEST(PortMap, DefaultSchemeAndIniEntries) {
    PortMapFolder app({{7, "/dev/null"}, {3, "/dev/does-not-exist"}});
    const std::pair<int, const char*> defaults[] = {
        {1, "/dev/ttyUSB0"},
        {16, "/dev/ttyUSB15"},
        {17, "/dev/ttyACM0"},
        {32, "/dev/ttyACM15"},
        {33, "/dev/ttyS0"},
        {64, "/dev/ttyS31"},
        {0, ""},
        {65, ""},
    };
    for (const auto& [port, path] : defaults)
        EXPECT_EQ(wirelay::ResolveComPort(port).devicePath, path) << port;
    EXPECT_EQ(wirelay::ResolveComPort(7).devicePath, "/dev/null");
    EXPECT_TRUE(wirelay::ResolveComPort(7).exists);
    EXPECT_FALSE(wirelay::ResolveComPort(3).exists);
    EXPECT_EQ(wirelay::ComPortName(12), "\\\\.\\COM12");
}

TEST(UARTComm, MissingPortFailsWithTheMessageNamingThePath) {
    PortMapFolder app({{5, "/dev/velmora-no-such-port"}});
    Messages messages;
    CUARTComm port;
    EXPECT_EQ(port._OpenComPort(5, wirelay::MakeSerialDcb(0), 1), 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(port.hPort, INVALID_HANDLE_VALUE);
    EXPECT_EQ(port.OpenComPort(5, wirelay::MakeSerialDcb(0)), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Connot open Com port:\\\\.\\COM5, the port used by other "
                                 "program? or port number not exist?");
    EXPECT_EQ(port.PreCountInQue(), 0u);
}

TEST(UARTComm, SecondOpenFailsAndTheFirstHandleStillWorks) {
    PtyPair pty;
    PortMapFolder app({{2, pty.SlavePath()}});
    Messages messages;
    CUARTComm port;
    ASSERT_EQ(port.OpenComPort(2, wirelay::MakeSerialDcb(0)), 1);
    const HANDLE first = port.hPort;
    EXPECT_EQ(port.OpenComPort(2, wirelay::MakeSerialDcb(0)), 0);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"COM port \\\\.\\COM2 already open?"});
    EXPECT_EQ(port.hPort, first);
    unsigned char ping[3] = {1, 2, 3};
    EXPECT_EQ(port.UWrite(ping, 3), 1);
    EXPECT_EQ(pty.Receive(3, 1000), (Bytes{1, 2, 3}));

    // Another object (another program) cannot take the port while it is held.
    CUARTComm other;
    EXPECT_EQ(other._OpenComPort(2, wirelay::MakeSerialDcb(0), 1), 0);
    port.CloseComPort();
    EXPECT_EQ(other._OpenComPort(2, wirelay::MakeSerialDcb(0), 1), 1);
    other.CloseComPort();
}

TEST(UARTComm, InputWaitingBeforeTheOpenIsDiscarded) {
    PtyPair pty;
    pty.Send({0xAA, 0xBB, 0xCC});
    CUARTComm port;
    ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    EXPECT_EQ(port.PreCountInQue(), 0u);
    pty.Send({0x11, 0x22});
    ASSERT_TRUE(WaitUntil("input at the port", [&] { return port.PreCountInQue() >= 2; }));
    unsigned char got[2] = {};
    EXPECT_EQ(port.URead(got, 2), 1);
    EXPECT_EQ(Bytes(got, got + 2), (Bytes{0x11, 0x22}));
    EXPECT_EQ(port.URead(got, 1), 0); // nothing waiting: a short read fails
    port.CloseComPort();
}

// Never opened, or its far end gone: every operation fails at once.
TEST(UARTComm, ClosedOrVanishedPortsFailEveryOperation) {
    const auto expectDead = [](CUARTComm& port) {
        unsigned char buffer[64] = {};
        EXPECT_EQ(port.PreCountInQue(), 0u);
        EXPECT_EQ(port.UWrite(buffer, sizeof buffer), 0);
        EXPECT_EQ(port.URead(buffer, 1), 0);
    };
    CUARTComm closed;
    expectDead(closed);
    EXPECT_EQ(closed.CloseComPort(), 0);

    PtyPair pty;
    CUARTComm port;
    ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(0), 1), 1);
    pty.CloseMaster();
    expectDead(port);
    COMSTAT status{};
    EXPECT_EQ(ClearCommError(port.hPort, nullptr, &status), 0);
    port.CloseComPort();
}

// Destroying the object leaves the port open for an object that adopted it.
TEST(UARTComm, DestructionWithoutCloseLeavesTheHandleToAnAdopter) {
    PtyPair pty;
    HANDLE kept;
    {
        CUARTComm port;
        ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(0), 1), 1);
        kept = port.hPort;
    }
    CUARTComm adopter;
    adopter.hPort = kept;
    unsigned char ping = 0x5A;
    EXPECT_EQ(adopter.UWrite(&ping, 1), 1);
    EXPECT_EQ(pty.Receive(1, 1000), Bytes{0x5A});
    EXPECT_EQ(adopter.CloseComPort(), 1);
}

// The sampling reader and the Modbus side on such a port: every read gives
// up at once, whatever its poll budget.
TEST(CommPlot, ClosedFarEndMakesReadsFailQuickly) {
    PtyPair pty;
    CCommPlot plot;
    ASSERT_EQ(plot._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    pty.Send({0xC6, 1, 2});
    ASSERT_TRUE(WaitUntil("three bytes", [&] { return plot.PreCountInQue() >= 3; }));
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    pty.CloseMaster();
    plot.SetPreCountQueTimes(0xFFFFFFFF);
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    unsigned short words[2];
    EXPECT_EQ(plot.ReadData(1, 2, words), 0);
    plot.CModbus::SetPreCountQueTimes(0xFFFFFFFF);
    plot.SetWaitWriteTime(1);
    EXPECT_EQ(plot.ReadHoldingRegisters(0, 2, words), 0);
    plot.CloseComPort();
}

TEST(CommApi, WriteIntoAFullLineGivesUpInsteadOfBlocking) {
    PtyPair pty; // nobody reads the master end
    CUARTComm port;
    ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(0), 1), 1);
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 50};
    SetCommTimeouts(port.hPort, &timeouts);
    std::vector<unsigned char> block(64 * 1024, 0x55);
    int result = 1;
    for (int i = 0; i < 64 && result; ++i)
        result = port.UWrite(block.data(), static_cast<unsigned>(block.size()));
    EXPECT_EQ(result, 0);
    port.CloseComPort();
}

} // namespace
