// Velmora's own master against the simulator, over the pty as over a serial
// port.
#include "Modbus.h"
#include "SerialFormat.h"
#include "SimTestSupport.h"
#include "TempDir.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

// A simulator linked into a scratch folder.
struct Rig {
    Rig(DriveModel model, int format) : running(SimOn(model, format, 1, dir.File("ttyDrive"))) {}
    const std::string& Link() const { return running.sim.Config().linkPath; }
    TempDir dir;
    RunningSim running;
};

TEST(VelmoraMaster, CModbusProbesAT8AndTransfersParameters) {
    Rig rig(DriveModel::T8, 15); // 115200 O,1
    CModbus link;
    link.SetWaitWriteTime(1);
    link.SetPreCountQueTimes(1000);
    ASSERT_TRUE(link._OpenDevicePort(rig.Link().c_str(), wirelay::MakeSerialDcb(15), 1));

    // The probe of the search, then the identity (its contents are the
    // slave tests' matter).
    unsigned short zero = 0;
    EXPECT_TRUE(link.WriteMultipleRegisters(0x1090, 1, &zero));
    char data[250] = {};
    unsigned char capacity = 250, id = 0, run = 0;
    ASSERT_TRUE(link.ReportSlaveID(data, &capacity, &id, &run));
    EXPECT_EQ(run, 0xFF);

    // A read-all block, a write beyond the limit and its read-back.
    unsigned short block[16] = {};
    ASSERT_TRUE(link.ReadHoldingRegisters(16, 16, block));
    EXPECT_EQ(block[0], 480);
    unsigned short tooBig = 5000; // register 16 allows 1..2000
    ASSERT_TRUE(link.WriteMultipleRegisters(16, 1, &tooBig));
    ASSERT_TRUE(link.ReadHoldingRegisters(16, 1, block));
    EXPECT_EQ(block[0], 2000);

    // Save to EEPROM reads back 1 (coils: the independent master's test).
    unsigned short one = 1;
    ASSERT_TRUE(link.WriteMultipleRegisters(129, 1, &one));
    ASSERT_TRUE(link.ReadHoldingRegisters(129, 1, block));
    EXPECT_EQ(block[0], 1);

    // An exception reply fails the request.
    EXPECT_FALSE(link.ReadHoldingRegisters(128, 1, block));
    link.CloseComPort();
}

} // namespace
