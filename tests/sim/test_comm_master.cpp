// Velmora's own master against the simulator: CModbus in-process and the
// velmora-cli program, over the pty as over a serial port.
#include "ChildProcess.h"
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
    Rig(DriveModel model, int format, std::uint8_t address = 1)
        : running(SimOn(model, format, address, dir.File("ttyDrive"))) {}
    const std::string& Link() const { return running.sim.Config().linkPath; }
    TempDir dir;
    RunningSim running;
};

TEST(VelmoraMaster, CModbusIdentifiesAT8AndTransfersParameters) {
    Rig rig(DriveModel::T8, 15); // 115200 O,1
    CModbus link;
    link.SetWaitWriteTime(1);
    link.SetPreCountQueTimes(1000);
    ASSERT_TRUE(link._OpenDevicePort(rig.Link().c_str(), wirelay::MakeSerialDcb(15), 1));

    // The probe of the search, then the identity as the search reads it.
    unsigned short zero = 0;
    EXPECT_TRUE(link.WriteMultipleRegisters(0x1090, 1, &zero));
    char data[250] = {};
    unsigned char capacity = 250, id = 0, run = 0;
    ASSERT_TRUE(link.ReportSlaveID(data, &capacity, &id, &run));
    EXPECT_EQ(run, 0xFF);
    EXPECT_EQ(data[5], '2');
    EXPECT_STREQ(data + 21, "rk905");
    EXPECT_STREQ(data + 28, "rk_905");

    // A read-all block, a write beyond the limit and its read-back.
    unsigned short block[16] = {};
    ASSERT_TRUE(link.ReadHoldingRegisters(16, 16, block));
    EXPECT_EQ(block[0], 480);
    unsigned short tooBig = 5000; // register 16 allows 1..2000
    ASSERT_TRUE(link.WriteMultipleRegisters(16, 1, &tooBig));
    ASSERT_TRUE(link.ReadHoldingRegisters(16, 1, block));
    EXPECT_EQ(block[0], 2000);

    // Save to EEPROM reads back 1; the servo coil.
    unsigned short one = 1;
    ASSERT_TRUE(link.WriteMultipleRegisters(129, 1, &one));
    ASSERT_TRUE(link.ReadHoldingRegisters(129, 1, block));
    EXPECT_EQ(block[0], 1);
    unsigned char on = 1, coil = 0;
    ASSERT_TRUE(link.WriteMultipleCoils(38, 1, &on));
    ASSERT_TRUE(link.ReadCoils(38, 1, &coil));
    EXPECT_EQ(coil & 1, 1);

    // An exception reply fails the request.
    EXPECT_FALSE(link.ReadHoldingRegisters(128, 1, block));
    link.CloseComPort();
}

TEST(VelmoraMaster, VelmoraCliReadsIdentityAndRegisters) {
    Rig rig(DriveModel::W5, 2, 7); // 57600 N,1, address 7
    const std::string device = rig.Link();
    Program ident("./velmora-cli",
                  {"--device", device, "--format", "2", "--address", "7", "ident"});
    std::string output;
    for (std::string line = ident.Line(); !line.empty(); line = ident.Line())
        output += line + "\n";
    EXPECT_EQ(ident.Wait(), 0) << ident.Errors();
    EXPECT_NE(output.find("slave id: 0x15"), std::string::npos) << output;
    EXPECT_NE(output.find("W5-750WWhq_417"), std::string::npos) << output;

    Program read("./velmora-cli",
                 {"--device", device, "--format", "2", "--address", "7", "read-regs", "8", "2"});
    EXPECT_EQ(read.Line(), "250");
    EXPECT_EQ(read.Line(), "0");
    EXPECT_EQ(read.Wait(), 0);
}

} // namespace
