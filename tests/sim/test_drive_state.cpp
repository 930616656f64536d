// What the simulated drive does with register and coil writes: limits,
// 32-bit values, EEPROM, factory reset, reboot parameters.
#include "SimTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace drivesim;

namespace {

// Writes and what reads back: 32-bit values low word first, clamping to the
// table's limits, split T8 values, probe and tool registers.
TEST(DriveState, WritesReadBackClampedToTheLimits) {
    using Words = std::vector<std::uint16_t>;
    struct Step {
        DriveModel model;
        std::uint16_t address;
        Words written, readBack;
    };
    const Step steps[] = {
        {DriveModel::T5, 16, {0xE240, 0x0001}, {0xE240, 0x0001}}, // Pr008 = 123456
        {DriveModel::T5, 42, {0xFFFF, 0xFFFF}, {0xFFFF, 0xFFFF}}, // Pr021 = -1 (-2047..2047)
        {DriveModel::T5, 8, {20000, 0}, {10000, 0}},              // Pr004 0..10000
        {DriveModel::T5, 8, {0xFFFF, 0xFFFF}, {0, 0}},
        {DriveModel::T8, 20, {3}, {25}},                           // torque filter 25..2500
        {DriveModel::T8, 200, {0x0000, 0x0001}, {0x0000, 0x0001}}, // point position 65536
        // Homing offset 1201 (low) and 1202 (high), each in a request of its own.
        {DriveModel::T8, 1201, {0x7960}, {0x7960}},
        {DriveModel::T8, 1202, {0xFFFE}, {0xFFFE}},
    };
    DriveState t5 = ShippedDrive(DriveModel::T5), t8 = ShippedDrive(DriveModel::T8);
    for (const Step& step : steps) {
        DriveState& s = step.model == DriveModel::T5 ? t5 : t8;
        EXPECT_EQ(s.WriteRegisters(step.address, step.written), kNoException) << step.address;
        EXPECT_EQ(Read(s, step.address, std::uint16_t(step.readBack.size())), step.readBack)
            << step.address;
    }
    EXPECT_EQ(t5.Value(8), 123456);
    EXPECT_EQ(t8.Value(128), 65536);
    // -100000: the write of the high half kept the low half.
    EXPECT_EQ(Read(t8, 1201, 1)[0], 0x7960);
    for (DriveModel model : {DriveModel::T5, DriveModel::T8}) {
        DriveState s = ShippedDrive(model);
        for (std::uint16_t address : {0x1090, 144, 145, 131, 132, 161, 174, 182, 2001, 5020}) {
            EXPECT_EQ(s.WriteRegisters(address, {7}), kNoException) << address;
            EXPECT_EQ(Read(s, address, 1)[0], 7) << address;
        }
    }
}

TEST(DriveState, AFailedWriteChangesNothing) {
    DriveState s = ShippedDrive(DriveModel::T8);
    // 125..127 are parameters, 128 is not a register.
    EXPECT_EQ(s.WriteRegisters(125, {0, 0, 0, 1}), kIllegalAddress);
    EXPECT_EQ(s.WriteRegisters(129, {2, 9}), kIllegalValue); // 130 takes 0 or 1 only
    EXPECT_EQ(Read(s, 129, 1)[0], 0);
    EXPECT_EQ(s.Value(127), 0);
}

TEST(DriveState, T5BlocksOfEveryGroupReadWhole) {
    DriveState s = ShippedDrive(DriveModel::T5);
    for (int g = 0; g < 16; ++g)
        for (int b = 0; b < 2; ++b)
            EXPECT_EQ(Read(s, 256 * g + 100 * b, 100).size(), 100u) << g;
    std::vector<std::uint16_t> out;
    EXPECT_EQ(s.ReadRegisters(200, 1, out), kIllegalAddress);
    EXPECT_EQ(s.WriteRegisters(256 * 7, {1}), kIllegalAddress);
}

TEST(DriveState, EepromSaveSurvivesARestart) {
    TempDir dir;
    const std::string eeprom = dir.File("drive.ini");
    {
        DriveState s = ShippedDrive(DriveModel::T5, eeprom);
        EXPECT_EQ(s.WriteRegisters(8, {777, 0}), kNoException);
        EXPECT_EQ(s.WriteRegisters(0x1081, {1}), kNoException);
        EXPECT_EQ(Read(s, 0x1081, 1)[0], 1);
        EXPECT_EQ(s.WriteRegisters(10, {1, 0}), kNoException); // written after the save
        EXPECT_EQ(s.Value(5), 1);
    }
    DriveState again = ShippedDrive(DriveModel::T5, eeprom);
    EXPECT_EQ(again.Value(4), 777);
    EXPECT_EQ(again.Value(5), 0);
    // Another model refuses the file.
    EXPECT_THROW(ShippedDrive(DriveModel::T8, eeprom), ProductDataError);
}

TEST(DriveState, RebootParametersTakeEffectAfterARestart) {
    TempDir dir;
    const std::string eeprom = dir.File("drive.ini");
    {
        DriveState s = ShippedDrive(DriveModel::T8, eeprom);
        EXPECT_EQ(s.WriteRegisters(2, {6}), kNoException); // control mode, reboot
        EXPECT_EQ(s.Value(2), 6);
        EXPECT_EQ(s.EffectiveValue(2), 0);
        EXPECT_EQ(Read(s, 896 + 4, 1)[0], 0); // control mode in effect
        EXPECT_EQ(s.WriteRegisters(129, {1}), kNoException);
    }
    DriveState again = ShippedDrive(DriveModel::T8, eeprom);
    EXPECT_EQ(again.EffectiveValue(2), 6);
    EXPECT_EQ(Read(again, 896 + 4, 1)[0], 6);
}

TEST(DriveState, FactoryResetRestoresDefaultsUnlessTheServoIsOn) {
    TempDir dir;
    const std::string eeprom = dir.File("drive.ini");
    DriveState s = ShippedDrive(DriveModel::T8, eeprom);
    EXPECT_EQ(s.WriteRegisters(16, {900}), kNoException);
    EXPECT_EQ(s.WriteCoils(38, {true}), kNoException);
    EXPECT_EQ(s.WriteRegisters(130, {1}), kNoException);
    EXPECT_EQ(Read(s, 130, 1)[0], 0); // refused
    EXPECT_EQ(s.Value(16), 900);
    EXPECT_EQ(s.WriteCoils(38, {false}), kNoException);
    EXPECT_EQ(s.WriteRegisters(130, {1}), kNoException);
    EXPECT_EQ(Read(s, 130, 1)[0], 1);
    EXPECT_EQ(s.Value(16), 480);
    EXPECT_EQ(ShippedDrive(DriveModel::T8, eeprom).Value(16), 480);
}

TEST(DriveState, BrokenEepromFilesAreRefused) {
    TempDir dir;
    for (const std::string& text :
         {std::string("garbage"), std::string("[Drive]\nModel=t5\n[Eeprom]\nPr4=abc\n"),
          std::string("[Drive]\nModel=t5\n[Eeprom]\nX=1\n"), std::string("\0\0\0", 3)}) {
        const std::string path = dir.Write("bad.ini", text);
        EXPECT_THROW(ShippedDrive(DriveModel::T5, path), ProductDataError) << text;
    }
    // A saved value beyond a limit of the table is clamped at start.
    const std::string path = dir.Write("old.ini", "[Drive]\nModel=t5\n[Eeprom]\nPr4=99999\n");
    EXPECT_EQ(ShippedDrive(DriveModel::T5, path).Value(4), 10000);
}

} // namespace
