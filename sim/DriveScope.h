// The drive's sampling for the scope: what the sampling command (register
// 0x0090) and the set-up registers 0x00A1..0x00AE make it do. It streams one
// sample per millisecond, or captures a "High Sample" block, free or on its
// own trigger, and hands the block out on command 4.
#pragma once

#include "SignalCatalog.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace drivesim {

namespace scopereg {
constexpr std::uint16_t kCommand = 0x0090;
constexpr std::uint16_t kPairing = 0x00A1;
constexpr std::uint16_t kFirstCode = 0x00A2; // slots A..D at 0x00A2..0x00A5
constexpr std::uint16_t kTrigger = 0x00A9;   // read: the block progress
constexpr std::uint16_t kHighSample = 0x00AA;
constexpr std::uint16_t kLevel1 = 0x00AB, kLevel2 = 0x00AD; // low word, high word
constexpr std::uint16_t kClearPositionCommand = 5020, kClearEncoder = 5022;
} // namespace scopereg

// Sampling commands and the progress that register 0x00A9 reads.
enum ScopeCommand : std::uint16_t {
    kStop = 0,
    kStream = 1,
    kArmTriggered = 2,
    kArmFree = 3,
    kSendBlock = 4
};
enum ScopeProgress : std::uint16_t { kNoBlock = 0, kWaiting = 2, kCapturing = 3, kComplete = 4 };

// The set-up registers as the drive takes them when a command starts sampling.
struct ScopeSetup {
    std::uint16_t pairing = 0;
    std::array<std::uint16_t, 4> codes{};
    std::uint16_t trigger = 0;
    std::uint16_t highSample = 0;
    std::int32_t level1 = 0, level2 = 0;
};

// A block's geometry from the High Sample word: one sample every `divider`
// steps of 0.1 ms, `length` samples, the trigger sample at index `delay`.
struct BlockShape {
    int divider, length, delay;
};
BlockShape BlockShapeOf(std::uint16_t highSampleWord);

// The 10-byte sample frame: 0xC6, four words high byte first, the low 8 bits
// of the sum of the nine bytes before.
std::array<std::uint8_t, 10> EncodeSampleFrame(const std::array<std::uint16_t, 4>& words);

class DriveScope {
public:
    void Command(std::uint16_t command, const ScopeSetup& setup);
    // Every 0.1 ms step of the servo loop, with the signals of that instant.
    void OnStep(const SignalValues& values);

    bool Streaming() const { return mode_ == Mode::Streaming; }
    // True while sampling needs the servo loop to run.
    bool Sampling() const { return mode_ != Mode::Idle && mode_ != Mode::Complete; }
    std::uint16_t Progress() const;
    // The block once per command 4 (empty otherwise).
    std::vector<SignalValues> TakeBlockToSend();

    // What slots A..D carry for one sample.
    std::array<std::uint16_t, 4> SlotWords(const SignalValues& values) const;

private:
    enum class Mode { Idle, Streaming, Armed, Capturing, Complete };
    using Channels = std::array<std::int32_t, 4>;

    Channels ChannelValues(const SignalValues& values) const;
    bool Triggered(const Channels& previous, const Channels& current) const;

    Mode mode_ = Mode::Idle;
    ScopeSetup setup_;
    BlockShape shape_{1, 101, 1};
    int stepsToSample_ = 0;
    std::deque<SignalValues> preTrigger_;
    std::vector<SignalValues> block_;
    bool sendRequested_ = false;
};

} // namespace drivesim
