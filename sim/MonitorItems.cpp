#include "MonitorItems.h"

#include "RegisterMap.h"

#include <algorithm>
#include <cmath>

namespace drivesim {
namespace {

constexpr double kLoadSeconds = 1.0;     // load ratio: average over about a second
constexpr double kThermalSeconds = 60.0; // motor winding against its frame
constexpr double kAmbient = 30.0;        // °C
constexpr double kRiseAtRated = 50.0;    // °C above ambient at 100 % load
constexpr std::int32_t kZeroSpeed = 10;  // r/min (mm/s)
constexpr std::int32_t kInPositionCounts = 100;
constexpr std::uint16_t kAnalogZero16 = 32768; // offset binary, 0 V
constexpr std::uint16_t kAnalogZero12 = 2047;  // 12-bit converter, 0 V

std::int32_t Value(const SignalValues& s, Signal which) {
    return s[static_cast<std::size_t>(which)];
}

// A counter since its origin, wrapping round as a 32-bit drive counter does.
std::int32_t Since(std::int32_t count, std::int32_t origin) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(count) -
                                     static_cast<std::uint32_t>(origin));
}

std::uint16_t Low(std::int32_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}
std::uint16_t High(std::int32_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) >> 16);
}

} // namespace

void MonitorItems::Observe(const SignalValues& live, bool servoOn, double torqueLimit,
                           Clock::time_point now) {
    const double seconds =
        observedAt_ ? std::chrono::duration<double>(now - *observedAt_).count() : 0.0;
    observedAt_ = now;
    signals_ = live;
    servoOn_ = servoOn;
    torqueLimit_ = torqueLimit;
    const double load = std::abs(Value(live, Signal::TorqueCommand)) / 10.0;
    loadRatio_ += (load - loadRatio_) * std::min(1.0, seconds / kLoadSeconds);
    const double rise = kRiseAtRated * loadRatio_ / 100.0;
    temperature_ += (rise - temperature_) * std::min(1.0, seconds / kThermalSeconds);
}

std::uint16_t MonitorItems::Flags() const {
    const std::int32_t speed = Value(signals_, Signal::SpeedFeedback);
    const std::int32_t command = Value(signals_, Signal::SpeedCommand);
    const std::int32_t error = Value(signals_, Signal::PositionError);
    std::uint16_t flags = 0;
    if (alarm_ == 0)
        flags |= kFlagReady;
    else
        flags |= kFlagAlarm;
    if (servoOn_)
        flags |= kFlagServoOn | kFlagBrakeRelease;
    if (std::abs(speed) <= kZeroSpeed)
        flags |= kFlagZeroSpeed;
    if (servoOn_ && std::abs(command) > kZeroSpeed &&
        std::abs(speed - command) <= std::max(kZeroSpeed, std::abs(command) / 10))
        flags |= kFlagSpeedReached;
    if (servoOn_ && std::abs(error) <= kInPositionCounts)
        flags |= kFlagInPosition;
    if (std::abs(Value(signals_, Signal::TorqueCommand)) >= torqueLimit_ * 10 - 1)
        flags |= kFlagTorqueLimit;
    return flags;
}

std::optional<std::uint16_t> MonitorItems::Word(int offset) const {
    using namespace monitorreg;
    const std::int32_t commandCount =
        Since(Value(signals_, Signal::PositionCommand), commandOrigin_);
    const std::int32_t feedbackCount =
        Since(Value(signals_, Signal::PositionFeedback), feedbackOrigin_);
    const std::int32_t error = Value(signals_, Signal::PositionError);
    switch (offset) {
    case kSpeed:
        return Low(Value(signals_, Signal::SpeedFeedback));
    case kTorque:
        return Low(Value(signals_, Signal::TorqueCommand));
    case kBusVoltage: // 310 V until the machine has run
        return observedAt_ ? std::optional(Low(Value(signals_, Signal::BusVoltage))) : std::nullopt;
    case kAlarm:
        return alarm_;
    case kInputWord:
        return inputs_;
    case kOutputWord:
        return Flags();
    case kCommandCount:
        return Low(commandCount);
    case kCommandCount + 1:
        return High(commandCount);
    case kFeedbackCount:
        return Low(feedbackCount);
    case kFeedbackCount + 1:
        return High(feedbackCount);
    case kLoadRatio:
        return static_cast<std::uint16_t>(std::lround(loadRatio_));
    case kTemperature:
        return static_cast<std::uint16_t>(std::lround(kAmbient + temperature_));
    case kPositionError:
        return Low(error);
    case kPositionError + 1:
        return High(error);
    case kStatusFlags:
        return Flags();
    case kSpeedCommand:
        return Low(Value(signals_, Signal::SpeedCommand));
    case kAnalogSpeed:
        return kAnalogZero16;
    case kAnalogTorque:
        return kAnalogZero12;
    default:
        return std::nullopt;
    }
}

std::optional<bool> MonitorItems::Coil(int address) const {
    using namespace monitorreg;
    if (address >= kInputCoils && address < kInputCoils + kPinCoils)
        return (inputs_ >> (address - kInputCoils) & 1) != 0;
    if (address >= kOutputCoils && address < kOutputCoils + kPinCoils)
        return (Flags() >> (address - kOutputCoils) & 1) != 0;
    return std::nullopt;
}

bool MonitorItems::TakesWrite(int offset, std::uint16_t value) {
    using namespace monitorreg;
    const bool clearable = offset == kAlarm || offset == kCommandCount ||
                           offset == kCommandCount + 1 || offset == kFeedbackCount ||
                           offset == kFeedbackCount + 1;
    return clearable && value == 0;
}

void MonitorItems::Clear(int offset) {
    using namespace monitorreg;
    if (offset == kAlarm)
        alarm_ = 0;
    else if (offset == kCommandCount || offset == kCommandCount + 1)
        commandOrigin_ = Value(signals_, Signal::PositionCommand);
    else if (offset == kFeedbackCount || offset == kFeedbackCount + 1)
        feedbackOrigin_ = Value(signals_, Signal::PositionFeedback);
}

bool ReadsMonitorItems(const std::uint8_t* request, std::size_t size) {
    if (size < 6)
        return false;
    const unsigned start = unsigned(request[2]) << 8 | request[3];
    const unsigned end = start + (unsigned(request[4]) << 8 | request[5]);
    auto overlaps = [start, end](unsigned first, unsigned count) {
        return start < first + count && end > first;
    };
    if (request[1] == 0x01)
        return overlaps(monitorreg::kInputCoils, 2 * monitorreg::kPinCoils);
    return request[1] == 0x03 && (overlaps(monitorreg::kBlock, reg::kStatusCount) ||
                                  overlaps(reg::kT8StatusBase, reg::kStatusCount));
}

} // namespace drivesim
