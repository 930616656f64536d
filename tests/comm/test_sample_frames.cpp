// The sampling protocol on an in-memory port: frame hunting, split and
// damaged frames, resynchronisation, the byte log and the Modbus extractor.
#include "CommHooks.h"
#include "CommPlot.h"
#include "HexFrames.h"
#include "MemoryPort.h"
#include "ModbusCrc.h"

#include <gtest/gtest.h>

namespace {

// A scope reading an in-memory port.
struct Capture {
    Capture() {
        plot.hPort = port.Handle();
        plot.SetPreCountQueTimes(20);
    }
    wirelay::MemoryPort port;
    CCommPlot plot;
};

class SampleFrames : public ::testing::Test, protected Capture {};

// One scripted step of a capture: bytes arrive (or the scope collects
// garbage), one read, then what the decoder holds and what is left waiting.
struct Step {
    Bytes feed;
    int result;                        // of ReadData_V3; ignored for a collection
    std::vector<unsigned long> values; // leading decoded values; empty: not checked
    int held = -1;                     // frameHeld afterwards; -1: not checked
    long inQueue = -1;                 // bytes left in the port; -1: not checked
    bool collect = false;              // GarbageCollection() instead of a read
};

TEST(SampleFramesV3, HuntingSplitDamagedAndHeldFrames) {
    const Bytes f1 = SampleFrame(1, 2, 3, 4), f10 = SampleFrame(10, 20, 30, 40),
                f5 = SampleFrame(5, 6, 7, 8);
    Bytes noHeader = SampleFrame(1, 1, 1, 1);
    noHeader[9] ^= 0x40;
    // The two bytes that complete the frame at the header inside the damaged one.
    const unsigned sum = 0xC6 + 0x03 + 0x04 + 0x05 + 0x06 + 0x07 + 0x08 + 0x00 + 0x09;
    const Bytes rest = {0x09, static_cast<std::uint8_t>(sum)};
    const std::pair<const char*, std::vector<Step>> scenarios[] = {
        {"golden frame, values widened without sign",
         {{{0xC6, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xEA},
           0,
           {258, 772, 1286, 1800},
           0},
          {SampleFrame(0xFFFF, 0x8000, 0, 1), 0, {0xFFFF, 0x8000, 0, 1}}}},
        {"empty queue and headerless bytes",
         {{{}, 1},
          {Bytes(3, 0x11), 1, {}, -1, 0},     // all three discarded, then nothing
          {Bytes(40, 0x22), 2, {}, -1, 19}}}, // 21 consumed, 19 still waiting
        {"stream starting mid-frame",
         {{Bytes(f1.begin() + 4, f1.end()), 1}, {f1, 0, {1, 2, 3, 4}}}},
        {"split frame completes without hunting again",
         {{Bytes(f10.begin(), f10.begin() + 4), 1, {}, 1, 3},
          {Bytes(f10.begin() + 4, f10.end()), 0, {10, 20, 30, 40}}}},
        {"held header survives GarbageCollection",
         {{{0xC6, 0x99, 0x98}, 1},
          {{}, 0, {}, 1, 0, true},
          {Bytes(f5.begin() + 1, f5.end()), 0, {5, 6, 7, 8}}}},
        {"damaged frame resynchronises on a header inside",
         {{{0xC6, 0x01, 0xC6, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x00}, 3, {}, 8},
          {rest, 0, {0x0304, 0x0506, 0x0708, 0x0009}},
          {noHeader, 3, {}, 0}}},
    };
    for (const auto& [name, steps] : scenarios) {
        SCOPED_TRACE(name);
        Capture capture;
        auto& [port, plot] = capture;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            SCOPED_TRACE(i);
            unsigned long values[4] = {};
            if (step.collect) {
                plot.GarbageCollection();
            } else {
                port.Feed(step.feed);
                EXPECT_EQ(plot.ReadData_V3(values), step.result);
            }
            EXPECT_EQ(std::vector(values, values + step.values.size()), step.values);
            if (step.held >= 0) {
                EXPECT_EQ(plot.frameHeld, step.held);
            }
            if (step.inQueue >= 0) {
                EXPECT_EQ(port.InQueue(), step.inQueue);
            }
        }
    }
}

TEST_F(SampleFrames, SecondGenerationUnpacksAndChecksCrc) {
    // Header, status (5 bits), values of 15, 14 and 14 bits, CRC.
    port.Feed(Hex("C5 AF AB CB 7B D2 34 A0 C1"));
    unsigned short status = 0;
    short values[3] = {};
    const auto decoded = [&] { return std::vector<int>{status, values[0], values[1], values[2]}; };
    EXPECT_EQ(plot.ReadData2(&status, values), 0);
    EXPECT_EQ(decoded(), (std::vector<int>{0x15, 0x7ABC, 0x2DEF, 0x1234}));

    port.Feed(Hex("C5 08 00 20 00 C0 04 D5 46")); // 1, 2, 3, 4 with the CRC off by one
    EXPECT_EQ(plot.ReadData2(&status, values), 3);
    port.Feed(Hex("C5 FF FF FF FF FF FF 8F 83"));
    EXPECT_EQ(plot.ReadData2(&status, values), 0);
    EXPECT_EQ(decoded(), (std::vector<int>{31, 0x7FFF, 0x3FFF, 0x3FFF})); // not sign-extended
}

TEST_F(SampleFrames, LogQueueRecordsReadBytesWhenEnabled) {
    const Bytes frame = SampleFrame(1, 2, 3, 4);
    port.Feed({0x00});
    port.Feed(frame);
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    EXPECT_EQ(plot.MB_GetQueueCnt(), 0);
    plot.logEnable = 1;
    port.Feed({0x00});
    port.Feed(frame);
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    ASSERT_EQ(plot.MB_GetQueueCnt(), 11);
    unsigned char logged[11];
    EXPECT_EQ(plot.MB_Read(logged, 100), 11);
    EXPECT_EQ(Bytes(logged + 1, logged + 11), frame);
}

TEST_F(SampleFrames, OneShotReadChecksSumAndLength) {
    // Header 0x77, the words, the low byte of their sum.
    const struct {
        const char* name;
        Bytes reply;
        int result;
        long leftWaiting; // a short reply is not drained
    } cases[] = {{"good", Hex("77 12 34 AB CD BE"), 1, 0},
                 {"wrong sum", Hex("77 01 02 03 04 0B"), 0, 0},
                 {"one byte too many", Hex("77 01 02 03 04 0A 00"), 0, 0},
                 {"short", {0x77, 1}, 0, 2}};
    for (const auto& c : cases) {
        port.Purge(true, true);
        port.SetResponder([&](const std::uint8_t* b, std::size_t n) {
            ASSERT_EQ(n, 1u);
            EXPECT_EQ(b[0], 0x34); // the low byte of the address
            port.Feed(c.reply);
        });
        unsigned short words[2] = {};
        EXPECT_EQ(plot.ReadData(0x1234, 2, words), c.result) << c.name;
        EXPECT_EQ(port.InQueue(), c.leftWaiting) << c.name;
        if (c.result == 1) {
            EXPECT_EQ(words[0] << 16 | words[1], 0x1234ABCD);
        }
    }
    port.SetResponder(nullptr);
    unsigned short words[128];
    EXPECT_EQ(plot.ReadData(0x34, 128, words), 0);
    EXPECT_TRUE(port.Written().empty());
}

// The sums of the frames are checked by the reads above; the CRC-8 has no
// frame of its own.
TEST(SampleChecks, Crc8) {
    CCommPlot plot;
    unsigned char digits[] = "123456789";
    EXPECT_EQ(plot.CheckCRC8(digits, 9), 0xA1);
    EXPECT_EQ(plot.CheckCRC8(digits, 0), 0x55);
}

TEST(SampleLog, QueueStopsAtCapacity) {
    CCommPlot plot;
    std::vector<unsigned char> block(3000, 0xAB);
    EXPECT_EQ(plot.MB_Add(block.data(), 3000), 3000);
    EXPECT_EQ(plot.MB_Add(block.data(), 3000), 1096);
    EXPECT_EQ(plot.MB_Add(block.data(), 1), 0);
    EXPECT_EQ(plot.MB_Add(block.data(), -5), 0);
    unsigned char head[10];
    EXPECT_EQ(plot.MB_Read(head, 10), 10);
    EXPECT_EQ(plot.MB_GetQueueCnt(), 4086);
    EXPECT_EQ(plot.MB_Read(head, -1), 0);
}

TEST(SampleLog, ModbusFramesAreExtractedFromTheLog) {
    CCommPlot plot;
    plot.SetSlaveAddress(1);
    Bytes frame = {0x01, 0x03, 0x02, 0x00, 0x2A, 0, 0};
    wirelay::AppendModbusCrc(frame.data(), frame.size());

    EXPECT_EQ(plot.MB_Extract(7), 1); // empty
    const Bytes junk = {0x55, 0x66};
    plot.MB_Add(junk.data(), 2);
    plot.MB_Add(frame.data(), 4); // a split frame after junk
    EXPECT_EQ(plot.MB_Extract(7), 1);
    EXPECT_EQ(plot.MB_Extract(7), 1);
    EXPECT_EQ(plot.MB_Extract(7), 1); // address held, 3 of 6 waiting
    EXPECT_EQ(plot.extractHeld, 1);
    plot.MB_Add(frame.data() + 4, 3);
    ASSERT_EQ(plot.MB_Extract(7), 0);
    EXPECT_EQ(Bytes(plot.MB_Frame(), plot.MB_Frame() + 7), frame);

    // A damaged frame with the address inside is rescanned from there.
    Bytes damaged = {0x01, 0x03, 0x01, 0x99, 0x98, 0x97, 0x96};
    plot.MB_Add(damaged.data(), 7);
    EXPECT_EQ(plot.MB_Extract(7), 3);
    EXPECT_EQ(plot.extractHeld, 5);
    EXPECT_EQ(plot.MB_Frame()[0], 0x01);

    EXPECT_EQ(plot.MB_Extract(3), 2);
    EXPECT_EQ(plot.MB_Extract(513), 2);
    Bytes noise(40, 0x07);
    CCommPlot other;
    other.MB_Add(noise.data(), 40);
    EXPECT_EQ(other.MB_Extract(7), 2);
}

} // namespace
