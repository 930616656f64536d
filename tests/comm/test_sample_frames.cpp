// The sampling protocol on an in-memory port: frame hunting, split and
// damaged frames, resynchronisation, the byte log and the Modbus extractor.
#include "CommHooks.h"
#include "CommPlot.h"
#include "MemoryPort.h"
#include "ModbusCrc.h"

#include <gtest/gtest.h>
#include <random>

using Bytes = std::vector<std::uint8_t>;

namespace {

class SampleFrames : public ::testing::Test {
protected:
    void SetUp() override {
        plot.hPort = port.Handle();
        plot.SetPreCountQueTimes(20);
    }
    wirelay::MemoryPort port;
    CCommPlot plot;
};

Bytes FrameV3(unsigned v0, unsigned v1, unsigned v2, unsigned v3) {
    Bytes f = {0xC6};
    for (unsigned v : {v0, v1, v2, v3}) {
        f.push_back(static_cast<std::uint8_t>(v >> 8));
        f.push_back(static_cast<std::uint8_t>(v));
    }
    unsigned sum = 0;
    for (std::uint8_t b : f)
        sum += b;
    f.push_back(static_cast<std::uint8_t>(sum));
    return f;
}

Bytes Frame2(unsigned status, unsigned v0, unsigned v1, unsigned v2) {
    const std::uint64_t bits = std::uint64_t(status & 0x1F) << 43 |
                               std::uint64_t(v0 & 0x7FFF) << 28 | std::uint64_t(v1 & 0x3FFF) << 14 |
                               (v2 & 0x3FFF);
    Bytes f = {0xC5};
    for (int shift = 40; shift >= 0; shift -= 8)
        f.push_back(static_cast<std::uint8_t>(bits >> shift));
    f.resize(9);
    wirelay::AppendModbusCrc(f.data(), f.size());
    return f;
}

TEST_F(SampleFrames, GoldenFrameDecodes) {
    port.Feed({0xC6, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0xEA});
    unsigned long values[4] = {};
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    EXPECT_EQ(values[0], 258u);
    EXPECT_EQ(values[1], 772u);
    EXPECT_EQ(values[2], 1286u);
    EXPECT_EQ(values[3], 1800u);
    EXPECT_EQ(plot.frameHeld, 0);
    EXPECT_EQ(FrameV3(0xFFFF, 0x8000, 0, 1).size(), 10u);
    port.Feed(FrameV3(0xFFFF, 0x8000, 0, 1));
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    EXPECT_EQ(values[0], 0xFFFFu); // widened without sign
    EXPECT_EQ(values[1], 0x8000u);
}

TEST_F(SampleFrames, EmptyQueueAndHeaderlessBytes) {
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    port.Feed(Bytes(3, 0x11));
    EXPECT_EQ(plot.ReadData_V3(values), 1); // all three discarded, then nothing
    EXPECT_EQ(port.InQueue(), 0);
    port.Feed(Bytes(40, 0x22));
    EXPECT_EQ(plot.ReadData_V3(values), 2); // 21 consumed, 19 still waiting
    EXPECT_EQ(port.InQueue(), 19);
    EXPECT_EQ(plot.lastInQue, 20);
}

TEST_F(SampleFrames, StreamStartingMidFrameSynchronises) {
    const Bytes frame = FrameV3(1, 2, 3, 4);
    port.Feed(Bytes(frame.begin() + 4, frame.end())); // tail of a frame, no header
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    port.Feed(frame);
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    EXPECT_EQ(values[3], 4u);
}

TEST_F(SampleFrames, SplitFrameCompletesWithoutHuntingAgain) {
    const Bytes frame = FrameV3(10, 20, 30, 40);
    port.Feed(Bytes(frame.begin(), frame.begin() + 4));
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    EXPECT_EQ(plot.frameHeld, 1);
    EXPECT_EQ(port.InQueue(), 3);
    port.Feed(Bytes(frame.begin() + 4, frame.end()));
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    EXPECT_EQ(values[0], 10u);
    EXPECT_EQ(values[3], 40u);
}

TEST_F(SampleFrames, HeldFrameSurvivesGarbageCollection) {
    port.Feed({0xC6, 0x99, 0x98});
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    plot.GarbageCollection();
    EXPECT_EQ(port.InQueue(), 0);
    EXPECT_EQ(plot.frameHeld, 1);
    const Bytes frame = FrameV3(5, 6, 7, 8);
    port.Feed(Bytes(frame.begin() + 1, frame.end()));
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    EXPECT_EQ(values[0], 5u);
}

TEST_F(SampleFrames, DamagedFrameResynchronisesOnAHeaderInside) {
    // Value byte 2 equals the header and the checksum is wrong.
    port.Feed({0xC6, 0x01, 0xC6, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x00});
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 3);
    EXPECT_EQ(plot.frameHeld, 8);
    EXPECT_EQ(plot.rxBuffer[0], 0xC6);
    EXPECT_EQ(plot.rxBuffer[1], 0x03);
    // The two bytes that complete the frame starting at that header.
    Bytes rest = {0x09};
    unsigned sum = 0xC6 + 0x03 + 0x04 + 0x05 + 0x06 + 0x07 + 0x08 + 0x00 + 0x09;
    rest.push_back(static_cast<std::uint8_t>(sum));
    port.Feed(rest);
    EXPECT_EQ(plot.ReadData_V3(values), 0);
    EXPECT_EQ(values[0], 0x0304u);
    EXPECT_EQ(values[3], 0x0009u);

    Bytes noHeader = FrameV3(1, 1, 1, 1);
    noHeader[9] ^= 0x40;
    port.Feed(noHeader);
    EXPECT_EQ(plot.ReadData_V3(values), 3);
    EXPECT_EQ(plot.frameHeld, 0);
}

TEST_F(SampleFrames, EveryFrameOfANoisyStreamIsFound) {
    std::mt19937 random(7);
    std::vector<std::array<unsigned, 4>> sent;
    for (int i = 0; i < 300; ++i) {
        Bytes junk(random() % 7);
        for (auto& b : junk)
            b = static_cast<std::uint8_t>(random() % 0xC6); // never a header
        port.Feed(junk);
        const std::array<unsigned, 4> v = {unsigned(random() & 0xFFFF), unsigned(random() & 0xFFFF),
                                           unsigned(random() & 0xFFFF),
                                           unsigned(random() & 0xFFFF)};
        Bytes frame = FrameV3(v[0], v[1], v[2], v[3]);
        for (std::size_t k = 1; k < frame.size(); ++k) {
            if (frame[k] == 0xC6) // a header inside would start a second candidate
                frame[k] = 0xC7;
        }
        unsigned sum = 0;
        for (std::size_t k = 0; k < 9; ++k)
            sum += frame[k];
        frame[9] = static_cast<std::uint8_t>(sum);
        if (frame[9] == 0xC6)
            continue;
        port.Feed(frame);
        sent.push_back({unsigned(frame[1] << 8 | frame[2]), unsigned(frame[3] << 8 | frame[4]),
                        unsigned(frame[5] << 8 | frame[6]), unsigned(frame[7] << 8 | frame[8])});
    }
    std::size_t found = 0;
    unsigned long values[4];
    for (int calls = 0; calls < 5000 && port.InQueue() > 0; ++calls) {
        if (plot.ReadData_V3(values) == 0) {
            ASSERT_LT(found, sent.size());
            for (int k = 0; k < 4; ++k)
                EXPECT_EQ(values[k], sent[found][k]);
            ++found;
        }
    }
    EXPECT_EQ(found, sent.size());
}

TEST_F(SampleFrames, SecondGenerationUnpacksAndChecksCrc) {
    port.Feed(Frame2(0x15, 0x7ABC, 0x2DEF, 0x1234));
    unsigned short status = 0;
    short values[3] = {};
    EXPECT_EQ(plot.ReadData2(&status, values), 0);
    EXPECT_EQ(status, 0x15);
    EXPECT_EQ(values[0], 0x7ABC);
    EXPECT_EQ(values[1], 0x2DEF);
    EXPECT_EQ(values[2], 0x1234);

    Bytes bad = Frame2(1, 2, 3, 4);
    bad[8] ^= 1;
    port.Feed(bad);
    EXPECT_EQ(plot.ReadData2(&status, values), 3);
    port.Feed(Frame2(31, 0x7FFF, 0x3FFF, 0x3FFF));
    EXPECT_EQ(plot.ReadData2(&status, values), 0);
    EXPECT_EQ(status, 31);
    EXPECT_EQ(values[0], 0x7FFF); // not sign-extended
    EXPECT_EQ(values[2], 0x3FFF);
}

TEST_F(SampleFrames, LogQueueRecordsReadBytesWhenEnabled) {
    const Bytes frame = FrameV3(1, 2, 3, 4);
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
    auto reply = [](std::initializer_list<std::uint8_t> words) {
        Bytes r = {0x77};
        r.insert(r.end(), words);
        unsigned sum = 0;
        for (std::size_t i = 1; i < r.size(); ++i)
            sum += r[i];
        r.push_back(static_cast<std::uint8_t>(sum));
        return r;
    };
    unsigned short words[2] = {};
    port.SetResponder([&](const std::uint8_t* b, std::size_t n) {
        ASSERT_EQ(n, 1u);
        EXPECT_EQ(b[0], 0x34);
        port.Feed(reply({0x12, 0x34, 0xAB, 0xCD}));
    });
    EXPECT_EQ(plot.ReadData(0x1234, 2, words), 1);
    EXPECT_EQ(words[0], 0x1234);
    EXPECT_EQ(words[1], 0xABCD);

    port.SetResponder([&](const std::uint8_t*, std::size_t) {
        Bytes r = reply({1, 2, 3, 4});
        r.back() ^= 1;
        port.Feed(r);
    });
    EXPECT_EQ(plot.ReadData(0x34, 2, words), 0);
    EXPECT_EQ(port.InQueue(), 0); // drained

    port.SetResponder([&](const std::uint8_t*, std::size_t) {
        Bytes r = reply({1, 2, 3, 4});
        r.push_back(0); // one byte too many
        port.Feed(r);
    });
    EXPECT_EQ(plot.ReadData(0x34, 2, words), 0);
    EXPECT_EQ(port.InQueue(), 0);

    port.SetResponder([&](const std::uint8_t*, std::size_t) { port.Feed({0x77, 1}); });
    EXPECT_EQ(plot.ReadData(0x34, 2, words), 0);
    EXPECT_EQ(port.InQueue(), 2); // a short reply is not drained

    port.SetResponder(nullptr);
    EXPECT_EQ(plot.ReadData(0x34, 128, words), 0);
    EXPECT_TRUE(port.Written().empty());
}

TEST(SampleChecks, ChecksumsAndCrc8) {
    CCommPlot plot;
    unsigned char digits[] = "123456789";
    EXPECT_EQ(plot.CheckCRC8(digits, 9), 0xA1);
    EXPECT_EQ(plot.CheckCRC8(digits, 0), 0x55);
    unsigned char bytes[] = {0xFF, 0x10, 0x20, 0xF0, 0x99};
    EXPECT_EQ(plot.CheckSum(bytes, 5), 0x20);
    EXPECT_EQ(plot.CheckSum(bytes, 2), 0);
    EXPECT_EQ(plot.CheckSum(bytes, 0), 0);
    EXPECT_EQ(plot.CheckSum_V3(bytes, 5),
              static_cast<unsigned char>(0xFF + 0x10 + 0x20 + 0xF0 + 0x99));
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

TEST_F(SampleFrames, PortThatGoesAwayEndsTheCallAtOnce) {
    port.Feed({0xC6, 1, 2});
    unsigned long values[4];
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    EXPECT_EQ(plot.frameHeld, 1);
    port.GoAway();
    plot.SetPreCountQueTimes(0xFFFFFFFF); // would spin for ever on a live port
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    plot.frameHeld = 0;
    EXPECT_EQ(plot.ReadData_V3(values), 1);
    unsigned short words[1];
    EXPECT_EQ(plot.ReadData(1, 1, words), 0);
}

} // namespace
