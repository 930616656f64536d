// The sampling reader on a port whose far end went away: every read gives up
// at once, whatever its poll budget.
#include "CommPlot.h"
#include "FarEnd.h"
#include "SerialFormat.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

namespace {

TEST(CommPlotPty, ClosedFarEndMakesReadsFailQuickly) {
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
    // The Modbus side gives up at once too, whatever its poll budget.
    plot.CModbus::SetPreCountQueTimes(0xFFFFFFFF);
    plot.SetWaitWriteTime(1);
    EXPECT_EQ(plot.ReadHoldingRegisters(0, 2, words), 0);
    char text[8];
    unsigned char capacity = 8;
    EXPECT_EQ(plot.ReportSlaveID(text, &capacity, nullptr, nullptr), 0);
    plot.CloseComPort();
}

} // namespace
