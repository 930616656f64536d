// The scope's own stream reader, CCommPlot, against the simulator: it picks
// every streamed frame out of the line, and a stop written into the running
// stream gets through with the master's retries.
#include "CommPlot.h"
#include "DriveScope.h"
#include "SerialFormat.h"
#include "SimTestSupport.h"
#include "TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace drivesim;

namespace {

TEST(CommPlotStream, ReadsEveryFrameAndStopsTheStream) {
    TempDir dir;
    RunningSim running(SimOn(DriveModel::T8, 3, 1, dir.File("ttyDrive")));
    CCommPlot link;
    link.SetWaitWriteTime(1);
    link.CModbus::SetPreCountQueTimes(1000);
    link.SetRetryTimes(3);
    ASSERT_TRUE(
        link._OpenDevicePort(running.sim.Config().linkPath.c_str(), wirelay::MakeSerialDcb(3), 1));
    unsigned short codes[4] = {1, 4, 6, 90}; // speed, torque, bus voltage, frame number
    ASSERT_TRUE(link.WriteMultipleRegisters(scopereg::kFirstCode, 4, codes));
    unsigned short stream = kStream;
    ASSERT_TRUE(link.WriteMultipleRegisters(scopereg::kCommand, 1, &stream));

    std::vector<unsigned long> numbers;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (numbers.size() < 500) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline)
            << "stream stalled at " << numbers.size();
        unsigned long values[4] = {};
        if (link.ReadData_V3(values) == 0) {
            numbers.push_back(values[3]);
            EXPECT_NEAR(static_cast<double>(values[2]), 311, 2) << "bus voltage";
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    for (std::size_t i = 1; i < numbers.size(); ++i)
        ASSERT_EQ((numbers[i] - numbers[i - 1]) & 0xFFFF, 1u) << "frame " << i;

    unsigned short stop = kStop;
    EXPECT_TRUE(link.WriteMultipleRegisters(scopereg::kCommand, 1, &stop));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    link.GarbageCollection();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(link.PreCountInQue(), 0u) << "the drive still streams";
    link.CloseComPort();
}

} // namespace
