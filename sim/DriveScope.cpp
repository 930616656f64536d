#include "DriveScope.h"

#include <algorithm>

namespace drivesim {
namespace {

constexpr int kMaxTimeBase = 45, kMaxDelay = 500;

std::int32_t SignalValue(const SignalValues& values, std::uint16_t code) {
    const auto info = SignalByCode(code);
    return info ? values[static_cast<std::size_t>(info->signal)] : 0;
}

std::uint16_t High(std::int32_t v) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) >> 16);
}
std::uint16_t Low(std::int32_t v) {
    return static_cast<std::uint16_t>(v);
}

// Condition kinds: 0 rising, 1 falling, 2 either edge, 3 at or above, 4 at or below.
bool ConditionHolds(int kind, std::int32_t previous, std::int32_t current, std::int32_t level) {
    const bool rising = previous < level && level <= current;
    const bool falling = previous > level && level >= current;
    switch (kind) {
    case 0:
        return rising;
    case 1:
        return falling;
    case 2:
        return rising || falling;
    case 3:
        return current >= level;
    case 4:
        return current <= level;
    default:
        return false;
    }
}

} // namespace

BlockShape BlockShapeOf(std::uint16_t word) {
    const int timeBase = std::clamp(word & 0x3F, 1, kMaxTimeBase);
    const int divider = (timeBase + 4) / 5;
    const int length = timeBase * 100 / divider + 1;
    const int delay = std::clamp(word >> 6, 1, std::min(kMaxDelay, length - 1));
    return {divider, length, delay};
}

std::array<std::uint8_t, 10> EncodeSampleFrame(const std::array<std::uint16_t, 4>& words) {
    std::array<std::uint8_t, 10> frame{0xC6};
    unsigned sum = frame[0];
    for (std::size_t i = 0; i < 4; ++i) {
        frame[1 + 2 * i] = static_cast<std::uint8_t>(words[i] >> 8);
        frame[2 + 2 * i] = static_cast<std::uint8_t>(words[i]);
        sum += frame[1 + 2 * i] + frame[2 + 2 * i];
    }
    frame[9] = static_cast<std::uint8_t>(sum);
    return frame;
}

void DriveScope::Command(std::uint16_t command, const ScopeSetup& setup) {
    switch (command) {
    case kStop:
        mode_ = Mode::Idle;
        block_.clear();
        break;
    case kStream:
        setup_ = setup;
        mode_ = Mode::Streaming;
        break;
    case kArmTriggered:
    case kArmFree:
        setup_ = setup;
        shape_ = BlockShapeOf(setup.highSample);
        mode_ = command == kArmTriggered ? Mode::Armed : Mode::Capturing;
        stepsToSample_ = 0;
        preTrigger_.clear();
        block_.clear();
        break;
    case kSendBlock:
        sendRequested_ = mode_ == Mode::Complete;
        break;
    default: // not a command: nothing changes
        break;
    }
}

void DriveScope::OnStep(const SignalValues& values) {
    if (mode_ != Mode::Armed && mode_ != Mode::Capturing)
        return;
    if (stepsToSample_-- > 0)
        return;
    stepsToSample_ = shape_.divider - 1;
    if (mode_ == Mode::Armed) {
        // Keep the samples before a trigger; test only once enough are held
        // for the trigger sample to land at its index in the block.
        preTrigger_.push_back(values);
        if (preTrigger_.size() > static_cast<std::size_t>(shape_.delay) + 1)
            preTrigger_.pop_front();
        if (preTrigger_.size() < static_cast<std::size_t>(shape_.delay) + 1 ||
            !Triggered(ChannelValues(preTrigger_[preTrigger_.size() - 2]),
                       ChannelValues(preTrigger_.back())))
            return;
        block_.assign(preTrigger_.begin(), preTrigger_.end());
        preTrigger_.clear();
        mode_ = Mode::Capturing;
    } else {
        block_.push_back(values);
    }
    if (block_.size() >= static_cast<std::size_t>(shape_.length))
        mode_ = Mode::Complete;
}

std::uint16_t DriveScope::Progress() const {
    switch (mode_) {
    case Mode::Armed:
        return kWaiting;
    case Mode::Capturing:
        return kCapturing;
    case Mode::Complete:
        return kComplete;
    default:
        return kNoBlock;
    }
}

std::vector<SignalValues> DriveScope::TakeBlockToSend() {
    if (!sendRequested_)
        return {};
    sendRequested_ = false;
    return block_; // the block stays: command 4 may ask for it again
}

std::array<std::uint16_t, 4> DriveScope::SlotWords(const SignalValues& values) const {
    std::array<std::uint16_t, 4> words{};
    for (std::size_t pair = 0; pair < 2; ++pair) {
        const std::size_t first = 2 * pair;
        const std::int32_t a = SignalValue(values, setup_.codes[first]);
        if (setup_.pairing & (1u << (8 * pair))) { // a 32-bit pair, high word first
            words[first] = High(a);
            words[first + 1] = Low(a);
        } else {
            words[first] = Low(a);
            words[first + 1] = Low(SignalValue(values, setup_.codes[first + 1]));
        }
    }
    return words;
}

DriveScope::Channels DriveScope::ChannelValues(const SignalValues& values) const {
    // The same assembly as the scope's: a wide pair is one value in its first
    // channel and 0 in the second; other channels are signed 16-bit words.
    const auto words = SlotWords(values);
    Channels channels{};
    for (std::size_t pair = 0; pair < 2; ++pair) {
        const std::size_t first = 2 * pair;
        if (setup_.pairing & (1u << (8 * pair))) {
            channels[first] =
                static_cast<std::int32_t>(std::uint32_t(words[first]) << 16 | words[first + 1]);
        } else {
            channels[first] = static_cast<std::int16_t>(words[first]);
            channels[first + 1] = static_cast<std::int16_t>(words[first + 1]);
        }
    }
    return channels;
}

bool DriveScope::Triggered(const Channels& previous, const Channels& current) const {
    const unsigned word = setup_.trigger;
    auto test = [&](unsigned source, unsigned kind, std::int32_t level) {
        const std::size_t channel = std::min(source, 3u);
        return ConditionHolds(static_cast<int>(kind), previous[channel], current[channel], level);
    };
    const bool first = test(word & 0xF, (word >> 8) & 0x7, setup_.level1);
    const bool second = test((word >> 4) & 0xF, (word >> 11) & 0x7, setup_.level2);
    switch (word >> 14) {
    case 0:
        return first;
    case 1:
        return first || second;
    case 2:
        return first && second;
    default:
        return second;
    }
}

} // namespace drivesim
