// The sampling protocol over a real pseudo-terminal: a drive streaming frames
// in pieces while the scope reads them.
#include "CommPlot.h"
#include "FarEnd.h"
#include "SerialFormat.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

namespace {

TEST(CommPlotPty, FramesSentInPiecesAreAllDecoded) {
    PtyPair pty;
    CCommPlot plot;
    ASSERT_EQ(plot._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    constexpr int kFrames = 200;
    std::thread drive([&] {
        Bytes stream = {0x13, 0x37}; // the tail of a frame sent before the capture
        for (int i = 0; i < kFrames; ++i) {
            Bytes f = {0xC6, 0, static_cast<std::uint8_t>(i), 0, 1, 0, 2, 0, 3};
            unsigned sum = 0;
            for (std::uint8_t b : f)
                sum += b;
            f.push_back(static_cast<std::uint8_t>(sum));
            stream.insert(stream.end(), f.begin(), f.end());
        }
        for (std::size_t at = 0; at < stream.size(); at += 7) {
            pty.Send(Bytes(stream.begin() + at, stream.begin() + std::min(at + 7, stream.size())));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    std::vector<unsigned long> first;
    unsigned long values[4];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (first.size() < kFrames && std::chrono::steady_clock::now() < deadline) {
        if (plot.ReadData_V3(values) == 0)
            first.push_back(values[0]);
    }
    drive.join();
    ASSERT_EQ(first.size(), std::size_t(kFrames));
    for (int i = 0; i < kFrames; ++i)
        EXPECT_EQ(first[i], unsigned(i));
    plot.CloseComPort();
}

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
