// Velmora's own masters against the simulated drive with --service: service
// frames and Modbus on the same line, over a pty at wire speed.
#include "MCComm.h"
#include "SerialFormat.h"
#include "SimTestSupport.h"
#include "TempDir.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

class ServiceLink : public ::testing::Test {
protected:
    void SetUp() override {
        SimConfig config = SimOn(DriveModel::T5, 1, dir.File("ttyDrive"));
        config.service = true;
        running = std::make_unique<RunningSim>(config);
        ASSERT_TRUE(mc._OpenDevicePort(config.linkPath.c_str(), wirelay::MakeSerialDcb(3), 1));
        mc.SetWaitWriteTime(1);
        mc.SetPreCountQueTimes(1000);
    }
    void TearDown() override { mc.CloseComPort(); }

    TempDir dir;
    std::unique_ptr<RunningSim> running;
    CMCComm mc;
};

TEST_F(ServiceLink, ServiceFramesAndModbusShareTheLine) {
    std::int32_t value = 0;
    ASSERT_EQ(mc.EM_SaveParm(3, -5), 1);
    ASSERT_EQ(mc.EM_ReadParm(3, value), 1);
    EXPECT_EQ(value, -5);

    unsigned char serial[32], back[32] = {};
    for (int i = 0; i < 32; ++i)
        serial[i] = static_cast<unsigned char>('A' + i % 26);
    ASSERT_EQ(mc.SaveSerialData(serial), 1);
    ASSERT_EQ(mc.ReadSerialData(back), 1);
    EXPECT_EQ(std::memcmp(serial, back, 32), 0);

    unsigned char info[27] = {};
    ASSERT_EQ(mc.ReadInfoData(info), 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(info), 11), "VELMORA-SIM");

    // A slow sender: one byte at a time, each a frame of its own to the line.
    mc.SetByteWaitTime(3);
    ASSERT_EQ(mc.EM_ReadParm(3, value = 0), 1);
    EXPECT_EQ(value, -5);
    mc.SetByteWaitTime(0);

    // Modbus beside it: the search's probe, the identity, a read and an
    // exception reply (no register 200 on a T5).
    unsigned short word = 0;
    EXPECT_EQ(mc.WriteMultipleRegisters(0x1090, 1, &word), 1);
    char data[250] = {};
    unsigned char capacity = sizeof data, id = 0, run = 0;
    ASSERT_EQ(mc.ReportSlaveID(data, &capacity, &id, &run), 1);
    EXPECT_EQ(run, 0xFF);
    ASSERT_EQ(mc.ReadHoldingRegisters(8, 1, &word), 1);
    EXPECT_EQ(word, 250); // Pr004
    EXPECT_EQ(mc.ReadHoldingRegisters(200, 1, &word), 0);
}

} // namespace
