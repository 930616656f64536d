// The drive's sampling: frame bytes, slot words, block geometry, and where a
// trigger puts its sample in the block.
#include "DriveScope.h"
#include "HexFrames.h"

#include <gtest/gtest.h>

using namespace drivesim;

namespace {

constexpr std::uint16_t kSpeed = 1, kTorque = 4, kEncoder = 22, kError = 24;

SignalValues With(Signal signal, std::int32_t value) {
    SignalValues v{};
    v[static_cast<std::size_t>(signal)] = value;
    return v;
}

ScopeSetup Slots(std::uint16_t pairing, std::array<std::uint16_t, 4> codes) {
    ScopeSetup s;
    s.pairing = pairing;
    s.codes = codes;
    return s;
}

TEST(DriveScope, SampleFrameBytes) {
    struct Case {
        std::array<std::uint16_t, 4> words;
        const char* bytes;
    } cases[] = {
        {{0x0102, 0x0304, 0x0506, 0x0708}, "C6 01 02 03 04 05 06 07 08 EA"},
        {{0, 0, 0, 0}, "C6 00 00 00 00 00 00 00 00 C6"},
        {{0xFFFF, 0x8000, 0x00C6, 0xC600}, "C6 FF FF 80 00 00 C6 C6 00 D0"},
    };
    for (const Case& c : cases) {
        const auto frame = EncodeSampleFrame(c.words);
        EXPECT_EQ(ToHex(Bytes(frame.begin(), frame.end())), c.bytes);
    }
}

TEST(DriveScope, SlotWordsFollowThePairingWord) {
    SignalValues v{};
    v[static_cast<std::size_t>(Signal::SpeedFeedback)] = -1500;
    v[static_cast<std::size_t>(Signal::TorqueCommand)] = 873;
    v[static_cast<std::size_t>(Signal::PositionFeedback)] = -0x12345;
    v[static_cast<std::size_t>(Signal::PositionError)] = 0x7654321;
    struct Case {
        std::uint16_t pairing;
        std::array<std::uint16_t, 4> codes;
        std::array<std::uint16_t, 4> words;
    } cases[] = {
        {0x0000, {kSpeed, kTorque, 0, 77}, {0xFA24, 873, 0, 0}}, // 0 and unknown codes read 0
        {0x0011, {kEncoder, kSpeed, kTorque, kError}, {0xFFFE, 0xDCBB, 873, 0x4321}},
        {0x1100, {kSpeed, kTorque, kError, kSpeed}, {0xFA24, 873, 0x0765, 0x4321}},
        {0x1111, {kSpeed, 0, kEncoder, 0}, {0xFFFF, 0xFA24, 0xFFFE, 0xDCBB}},
    };
    for (const Case& c : cases) {
        DriveScope scope;
        scope.Command(kStream, Slots(c.pairing, c.codes));
        EXPECT_EQ(scope.SlotWords(v), c.words) << std::hex << c.pairing;
    }
}

TEST(DriveScope, BlockShapeFromTheHighSampleWord) {
    struct Case {
        std::uint16_t word;
        int divider, length, delay;
    } cases[] = {
        {1 | 50 << 6, 1, 101, 50}, {7 | 175 << 6, 2, 351, 175}, {45 | 500 << 6, 9, 501, 500},
        {0 | 0 << 6, 1, 101, 1},   {63 | 1 << 6, 9, 501, 1},    {1 | 500 << 6, 1, 101, 100},
        {10 | 7 << 6, 2, 501, 7},
    };
    for (const Case& c : cases) {
        const BlockShape s = BlockShapeOf(c.word);
        EXPECT_EQ(std::vector<int>({s.divider, s.length, s.delay}),
                  std::vector<int>({c.divider, c.length, c.delay}))
            << std::hex << c.word;
    }
}

// Feeds a triangle wave on the speed signal until the block is complete.
std::vector<SignalValues> Capture(DriveScope& scope, std::uint16_t command,
                                  const ScopeSetup& setup) {
    scope.Command(command, setup);
    for (int step = 0; step < 100000 && scope.Progress() != kComplete; ++step) {
        const int phase = step % 4000;
        scope.OnStep(With(Signal::SpeedFeedback, phase < 2000 ? phase - 1000 : 3000 - phase));
    }
    scope.Command(kSendBlock, setup);
    return scope.TakeBlockToSend();
}

std::int32_t Speed(const SignalValues& v) {
    return v[static_cast<std::size_t>(Signal::SpeedFeedback)];
}

TEST(DriveScope, TheTriggerSampleLandsAtTheDelay) {
    struct Case {
        std::uint16_t trigger; // sources, conditions, combination
        std::int32_t level1, level2;
        bool rising; // the sample at the delay crosses upwards
    } cases[] = {
        {0x0000, 0, 0, true},                         // trigger 1 only, positive edge
        {0x0100, 500, 0, false},                      // negative edge
        {0x4000 | 0x0100 | 0x0800, 300, -300, false}, // 1 OR 2, both negative edges
        {0xC000 | 0x0000, 0, 200, true},              // trigger 2 only, positive edge at 200
    };
    for (const Case& c : cases) {
        ScopeSetup setup = Slots(0, {kSpeed, 0, 0, 0});
        setup.trigger = c.trigger;
        setup.level1 = c.level1;
        setup.level2 = c.level2;
        setup.highSample = 7 | 100 << 6; // 351 samples every 0.2 ms, trigger at 100
        DriveScope scope;
        const auto block = Capture(scope, kArmTriggered, setup);
        ASSERT_EQ(block.size(), 351u) << std::hex << c.trigger;
        const std::int32_t before = Speed(block[99]), at = Speed(block[100]);
        const std::int32_t level = (c.trigger >> 14) == 3 ? c.level2 : c.level1;
        if (c.rising)
            EXPECT_TRUE(before < level && level <= at) << before << " " << at;
        else
            EXPECT_TRUE(before > at && at <= std::max(c.level1, c.level2)) << before << " " << at;
        EXPECT_EQ(Speed(block[101]) - at, at - before) << "one sample every other step";
    }
}

// A, B and D carry the speed, the triangle wave of Capture.
TEST(DriveScope, TriggersThatMustOrMustNotFire) {
    struct Case {
        std::uint16_t trigger;
        bool fires;
    } cases[] = {
        {0x000F, true},  // source 15 acts as D, rising through 900
        {0x0500, false}, // condition 5 never holds
        {0x0700, false}, // nor 7
        {0xC000 | 0x3800 | 0x00F0, false},
        // 1 AND 2: A at or above 900 while B rises through 0 never happens.
        {0x8000 | 0x0300 | 0x0010, false},
    };
    for (const Case& c : cases) {
        ScopeSetup setup = Slots(0, {kSpeed, kSpeed, 0, kSpeed});
        setup.trigger = c.trigger;
        setup.level1 = 900;
        setup.level2 = 0;
        setup.highSample = 1 | 10 << 6;
        DriveScope scope;
        EXPECT_EQ(Capture(scope, kArmTriggered, setup).empty(), !c.fires) << std::hex << c.trigger;
    }
}

TEST(DriveScope, ProgressAndSendingOfAFreeBlock) {
    DriveScope scope;
    const ScopeSetup setup = Slots(0, {kSpeed, 0, 0, 0});
    EXPECT_EQ(scope.Progress(), kNoBlock);
    scope.Command(kSendBlock, setup);
    EXPECT_TRUE(scope.TakeBlockToSend().empty()) << "no block yet";
    scope.Command(kArmFree, setup);
    EXPECT_EQ(scope.Progress(), kCapturing);
    EXPECT_TRUE(scope.Sampling());
    for (int step = 0; step < 101; ++step)
        scope.OnStep(With(Signal::SpeedFeedback, step));
    EXPECT_EQ(scope.Progress(), kComplete);
    EXPECT_FALSE(scope.Sampling());
    EXPECT_TRUE(scope.TakeBlockToSend().empty()) << "sent only on command 4";
    scope.Command(kSendBlock, setup);
    const auto block = scope.TakeBlockToSend();
    ASSERT_EQ(block.size(), 101u);
    EXPECT_EQ(std::pair(Speed(block.front()), Speed(block.back())), std::pair(0, 100));
    EXPECT_TRUE(scope.TakeBlockToSend().empty()) << "once per command";
    scope.Command(kStop, setup);
    EXPECT_EQ(scope.Progress(), kNoBlock);
    scope.Command(kSendBlock, setup);
    EXPECT_TRUE(scope.TakeBlockToSend().empty());
}

} // namespace
