// The drive's scope side over a pseudo-terminal: the reply to a stop after the
// frame on the wire, spoilt frames and the clear commands. (Numbered frames
// streamed without loss: test_scope_sim.cpp; a triggered High Sample block
// from the demo move, end to end: test_cli_scope.cpp.) Reads take bytes until
// their count came or the line was quiet for the time given.
#include "DriveScope.h"
#include "SerialClient.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using namespace drivesim;

namespace {

Bytes WriteRequest(std::uint16_t address, std::uint16_t value) {
    return WithCrc({1, 0x10, static_cast<std::uint8_t>(address >> 8),
                    static_cast<std::uint8_t>(address), 0, 1, 2,
                    static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

void Write(SerialClient& client, std::uint16_t address, std::uint16_t value) {
    const Bytes reply = client.Transact(WriteRequest(address, value), 8);
    ASSERT_EQ(reply.size(), 8u) << "no reply to the write of register " << address;
}

using Words = std::array<std::uint16_t, 4>;

// Splits whole frames; fails the test on a bad header or checksum.
std::vector<Words> Frames(const Bytes& bytes) {
    std::vector<Words> frames;
    for (std::size_t at = 0; at + 10 <= bytes.size(); at += 10) {
        Words w{};
        for (std::size_t i = 0; i < 4; ++i)
            w[i] = static_cast<std::uint16_t>(bytes[at + 1 + 2 * i] << 8 | bytes[at + 2 + 2 * i]);
        EXPECT_EQ(EncodeSampleFrame(w)[9], bytes[at + 9]) << "checksum of frame " << at / 10;
        EXPECT_EQ(bytes[at], 0xC6) << "header of frame " << at / 10;
        frames.push_back(w);
    }
    return frames;
}

// Frame numbers in slot D, then streaming.
void StartStream(SerialClient& client) {
    Write(client, scopereg::kFirstCode + 3, 90);
    Write(client, scopereg::kCommand, kStream);
}

TEST(SimulatorScope, AStopIsAnsweredAfterTheFrameOnTheWire) {
    RunningSim s(SimOn(DriveModel::T8));
    SerialClient client(s.sim.SlavePath(), B115200);
    StartStream(client);
    ReadFor(client.Fd(), 200, 500, true);
    const Bytes stop = WriteRequest(scopereg::kCommand, kStop);
    ASSERT_EQ(::write(client.Fd(), stop.data(), stop.size()), 11);
    const Bytes tail = ReadFor(client.Fd(), 4096, 100, true);
    ASSERT_GE(tail.size(), 8u);
    const Bytes reply(tail.end() - 8, tail.end());
    EXPECT_EQ(ToHex(reply), ToHex(WithCrc(Bytes(stop.begin(), stop.begin() + 6))));
    EXPECT_EQ((tail.size() - 8) % 10, 0u) << "only whole frames before the reply";
    const auto frames = Frames(Bytes(tail.begin(), tail.end() - 8));
    for (std::size_t i = 1; i < frames.size(); ++i)
        ASSERT_EQ(static_cast<std::uint16_t>(frames[i][3] - frames[i - 1][3]), 1)
            << "frame " << i << " lost or repeated";
}

TEST(SimulatorScope, SpoilsEveryNthFrameWhenAsked) {
    SimConfig config = SimOn(DriveModel::T5);
    config.faults.corruptFrameEvery = 7;
    RunningSim s(config);
    SerialClient client(s.sim.SlavePath(), B115200);
    StartStream(client);
    const Bytes bytes = ReadFor(client.Fd(), 700, 500, true);
    ASSERT_EQ(bytes.size(), 700u);
    std::vector<std::size_t> spoilt;
    for (std::size_t frame = 0; frame < 70; ++frame) {
        unsigned sum = 0;
        for (std::size_t i = 0; i < 9; ++i)
            sum += bytes[10 * frame + i];
        if ((sum & 0xFF) != bytes[10 * frame + 9])
            spoilt.push_back(frame);
        EXPECT_EQ(bytes[10 * frame + 8], frame & 0xFF) << "numbered all the same";
    }
    EXPECT_EQ(spoilt, (std::vector<std::size_t>{6, 13, 20, 27, 34, 41, 48, 55, 62, 69}));
}

// `count` streamed frames, then a stop with everything after it drained.
std::vector<Words> StreamFrames(SerialClient& client, std::size_t count) {
    Write(client, scopereg::kCommand, kStream);
    const auto frames = Frames(ReadFor(client.Fd(), 10 * count, 500, true));
    const Bytes stop = WriteRequest(scopereg::kCommand, kStop);
    EXPECT_EQ(::write(client.Fd(), stop.data(), stop.size()), 11);
    ReadFor(client.Fd(), 1 << 16, 100, true);
    return frames;
}

TEST(SimulatorScope, ClearCommandsZeroTheEncoderAndThePositionCommand) {
    SimConfig config = SimOn(DriveModel::T5);
    config.motion = MotionMode::Demo;
    RunningSim s(config);
    SerialClient client(s.sim.SlavePath(), B115200);
    Write(client, scopereg::kPairing, 0x1111);
    Write(client, scopereg::kFirstCode, 22);     // encoder position, 32 bits in A and B
    Write(client, scopereg::kFirstCode + 2, 26); // position command, 32 bits in C and D
    const auto wide = [](const Words& w, std::size_t first) {
        return static_cast<std::int32_t>(std::uint32_t(w[first]) << 16 | w[first + 1]);
    };
    // One 1 ms sample moves the motor by at most 4400 counts at 2000 r/min.
    const auto moved = StreamFrames(client, 700); // past the dwell, into the move
    ASSERT_EQ(moved.size(), 700u);
    ASSERT_GT(wide(moved.back(), 0), 100000);
    ASSERT_GT(wide(moved.back(), 2), 100000);
    Write(client, scopereg::kClearEncoder, 0);
    auto after = StreamFrames(client, 5);
    ASSERT_EQ(after.size(), 5u);
    EXPECT_LT(std::abs(wide(after.front(), 0)), 20000);
    EXPECT_GT(wide(after.front(), 2), 100000);
    Write(client, scopereg::kClearPositionCommand, 0);
    after = StreamFrames(client, 5);
    ASSERT_EQ(after.size(), 5u);
    EXPECT_LT(std::abs(wide(after.front(), 2)), 20000);
}

} // namespace
