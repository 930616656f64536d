// A port handle kept after its port was closed (by a new search, by another
// plug-in's reopen) must never reach the file that now has its descriptor
// number: every operation refuses it and leaves that file alone.
#include "CommApi.h"
#include "FarEnd.h"
#include "Modbus.h"
#include "SerialFormat.h"
#include "TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

int DescriptorOf(HANDLE handle) {
    return static_cast<int>(handle & 0x7FFFFFFF);
}

// Every port operation on `handle` fails.
void ExpectRefused(HANDLE handle) {
    unsigned char bytes[8] = {1, 3, 0, 0, 0, 1, 0x84, 0x0A};
    DWORD done = 0;
    DCB dcb = wirelay::MakeSerialDcb(3);
    COMMTIMEOUTS timeouts{0, 0, 100, 0, 100};
    COMSTAT status{};
    EXPECT_FALSE(WriteFile(handle, bytes, sizeof bytes, &done, nullptr));
    EXPECT_FALSE(ReadFile(handle, bytes, 1, &done, nullptr));
    EXPECT_FALSE(ClearCommError(handle, nullptr, &status));
    EXPECT_FALSE(PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR));
    EXPECT_FALSE(GetCommState(handle, &dcb));
    EXPECT_FALSE(SetCommState(handle, &dcb));
    EXPECT_FALSE(SetCommTimeouts(handle, &timeouts));
    CModbus stale;
    stale.hPort = handle;
    stale.preCountQueTimes = 2;
    unsigned short word = 0;
    EXPECT_EQ(stale.WriteMultipleRegisters(0x1090, 1, &word), 0);
    EXPECT_EQ(stale.CloseComPort(), 0);
    EXPECT_FALSE(CloseHandle(handle));
}

TEST(StaleHandle, ADescriptorReusedByAFileIsNeverWrittenNorClosed) {
    PtyPair pty;
    TempDir dir;
    CModbus owner;
    ASSERT_EQ(owner._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    const HANDLE kept = owner.hPort; // what another plug-in adopted
    owner.CloseComPort();

    // Linux hands the lowest free number to the next open: the value file.
    const std::string file = dir.File("drive.tw");
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(fd, DescriptorOf(kept)) << "the file did not get the port's old number";
    ASSERT_EQ(::write(fd, "[Pr000]\n", 8), 8);

    ExpectRefused(kept);
    ExpectRefused(static_cast<HANDLE>(fd)); // a descriptor the library never opened

    EXPECT_EQ(::fcntl(fd, F_GETFD), FD_CLOEXEC) << "the file's descriptor is still open";
    EXPECT_EQ(::close(fd), 0);
    EXPECT_EQ(TempDir::Read(file), "[Pr000]\n");
    EXPECT_TRUE(pty.Receive(64, 20).empty());
}

TEST(StaleHandle, AReopenedPortIsANewHandleEvenOnTheSameDescriptor) {
    PtyPair pty;
    CUARTComm port;
    ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    const HANDLE first = port.hPort;
    port.CloseComPort();
    ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    ASSERT_EQ(DescriptorOf(port.hPort), DescriptorOf(first));
    EXPECT_NE(port.hPort, first);

    unsigned char byte = 0x5A;
    DWORD done = 0;
    EXPECT_FALSE(WriteFile(first, &byte, 1, &done, nullptr)) << "the old opening is gone";
    EXPECT_FALSE(CloseHandle(first));
    EXPECT_EQ(port.UWrite(&byte, 1), 1) << "the new opening is untouched";
    EXPECT_EQ(pty.Receive(1, 1000), Bytes{0x5A});
    EXPECT_EQ(port.CloseComPort(), 1);
}

} // namespace
