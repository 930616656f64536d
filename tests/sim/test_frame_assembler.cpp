// Cutting the byte stream from the master into requests, and the line's timing.
#include "FrameAssembler.h"
#include "LineTiming.h"
#include "LineTransmitter.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using namespace drivesim;
using namespace std::chrono_literals;

namespace {

const auto kSilence = 2ms;

std::vector<std::string> TakeAll(FrameAssembler& a, Clock::time_point now) {
    std::vector<std::string> frames;
    while (auto f = a.Take(now, kSilence))
        frames.push_back(ToHex(f->bytes));
    return frames;
}

TEST(FrameAssembler, SplitsRequestsByLengthAndSkipsStrayBytes) {
    FrameAssembler a;
    const auto t0 = Clock::now();
    // Stray bytes, a register read, a register write (its length comes with its
    // byte count), an identity request, a coil read and a coil write.
    auto bytes = Hex("55 AA 03 01 03 00 10 00 02 C5 CE 01 10 00 10 00 01 02 01 F4 A4 D7 01 11 C0 "
                     "2C 01 01 00 26 00 01 1C 01 01 0F 00 26 00 01 01 01 E6 90");
    a.Add(bytes.data(), 13, t0);
    EXPECT_EQ(TakeAll(a, t0), std::vector<std::string>{"01 03 00 10 00 02 C5 CE"});
    a.Add(bytes.data() + 13, 4, t0); // the write up to its register count
    EXPECT_TRUE(TakeAll(a, t0).empty());
    a.Add(bytes.data() + 17, bytes.size() - 17, t0);
    EXPECT_EQ(TakeAll(a, t0), (std::vector<std::string>{"01 10 00 10 00 01 02 01 F4 A4 D7",
                                                        "01 11 C0 2C", "01 01 00 26 00 01 1C 01",
                                                        "01 0F 00 26 00 01 01 01 E6 90"}));
}

TEST(FrameAssembler, UnknownFunctionsAndTruncatedFramesEndAtSilence) {
    FrameAssembler a;
    const auto t0 = Clock::now();
    auto unknown = Hex("01 2B 0E 01 00 70 77");
    a.Add(unknown.data(), unknown.size(), t0);
    EXPECT_TRUE(TakeAll(a, t0 + 1ms).empty());
    EXPECT_EQ(a.SilenceDeadline(kSilence), t0 + kSilence);
    EXPECT_EQ(TakeAll(a, t0 + 3ms), std::vector<std::string>{"01 2B 0E 01 00 70 77"});
    auto half = Hex("01 03 00 10");
    a.Add(half.data(), half.size(), t0);
    EXPECT_TRUE(TakeAll(a, t0 + 1ms).empty());
    EXPECT_EQ(TakeAll(a, t0 + 3ms), std::vector<std::string>{"01 03 00 10"});
    EXPECT_FALSE(a.SilenceDeadline(kSilence));
}

TEST(FrameAssembler, EndlessGarbageIsDropped) {
    // 0x2B is no known function, so no length or CRC check ever drains it:
    // only the frame-size bound keeps the buffer from growing.
    FrameAssembler a;
    const auto t0 = Clock::now();
    std::vector<std::uint8_t> junk(1000, 0x2B);
    a.Add(junk.data(), junk.size(), t0);
    EXPECT_TRUE(TakeAll(a, t0).empty());
    const auto frames = TakeAll(a, t0 + 3ms);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_LE(Hex(frames[0]).size(), kMaxFrameBytes);
}

TEST(LineTiming, SerialFormatsAndWireTimes) {
    EXPECT_EQ(CharacterBits(wirelay::GetSerialFormat(0)), 10);
    EXPECT_EQ(CharacterBits(wirelay::GetSerialFormat(4)), 11);
    EXPECT_EQ(CharacterBits(wirelay::GetSerialFormat(12)), 11);
    // 8 + 205 bytes of a 100-register read.
    using Ms = std::chrono::duration<double, std::milli>;
    EXPECT_NEAR(Ms(WireTime(213, wirelay::GetSerialFormat(0))).count(), 110.9, 0.1);
    EXPECT_NEAR(Ms(WireTime(213, wirelay::GetSerialFormat(3))).count(), 18.5, 0.1);
    EXPECT_EQ(FrameSilence(wirelay::GetSerialFormat(3)), std::chrono::microseconds(1750));
}

// Two sample frames and a reply queued at once leave one after the other at
// the wire's pace, however fast the program writes.
TEST(LineTiming, QueuedBytesLeaveAtTheWiresPace) {
    for (int format : {0, 3}) {
        const wirelay::SerialFormat line = wirelay::GetSerialFormat(format);
        const auto byte = WireTime(1, line);
        const Clock::time_point t0{};
        LineTransmitter tx(line);
        tx.Queue(Bytes(10, 0xC6), LineTransmitter::Kind::SampleFrame, t0);
        tx.Queue(Bytes(10, 0xC6), LineTransmitter::Kind::SampleFrame, t0);
        tx.Queue(Hex("01 10 13 88 00 01 05 66"), LineTransmitter::Kind::Reply, t0 + byte);
        EXPECT_EQ(tx.NextDue(), t0 + 10 * byte) << format;
        EXPECT_EQ(tx.LineFreeAt(), t0 + 28 * byte) << format;
    }
}

} // namespace
