// What the drive reports to a monitor: the live values of its servo loop,
// its input and output pins and its alarm, as the words of the status block
// and the pin coils. Counters and the alarm are cleared by writing 0.
#pragma once

#include "SignalCatalog.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace drivesim {

// Offsets in the status block (docs/drive-registers.md, "Status block").
namespace monitorreg {
constexpr std::uint16_t kBlock = 0x1000; // on every model; T8 also at 896
constexpr int kSpeed = 0, kTorque = 1, kBusVoltage = 2, kAlarm = 3, kInputWord = 6, kOutputWord = 7;
constexpr int kCommandCount = 8, kFeedbackCount = 10, kLoadRatio = 12, kTemperature = 13;
constexpr int kPositionError = 14, kStatusFlags = 16, kSpeedCommand = 17;
constexpr int kAnalogSpeed = 18, kAnalogTorque = 19;
constexpr int kInputCoils = 0, kOutputCoils = 16, kPinCoils = 16;
} // namespace monitorreg

// Bits of the status flag word, which are also output pins DO1..DO8.
enum MonitorFlag : std::uint16_t {
    kFlagReady = 0x01,
    kFlagServoOn = 0x02,
    kFlagZeroSpeed = 0x04,
    kFlagSpeedReached = 0x08,
    kFlagInPosition = 0x10,
    kFlagTorqueLimit = 0x20,
    kFlagAlarm = 0x40,
    kFlagBrakeRelease = 0x80,
};

class MonitorItems {
public:
    using Clock = std::chrono::steady_clock;

    // The servo loop's signals at `now`; load ratio and temperature follow
    // them with their own time constants.
    void Observe(const SignalValues& live, bool servoOn, double torqueLimit, Clock::time_point now);
    void SetInputPins(std::uint16_t mask) { inputs_ = mask; }
    void RaiseAlarm(std::uint16_t code) { alarm_ = code; }
    std::uint16_t Alarm() const { return alarm_; }

    // The word at `offset` of the status block; nullopt for the words the
    // drive state answers itself (bus voltage, control mode, servo state).
    std::optional<std::uint16_t> Word(int offset) const;
    // The pin coils 0..31; nullopt for any other coil.
    std::optional<bool> Coil(int address) const;

    // Writing 0 clears the pulse counts and the alarm; nothing else of the
    // block takes a write.
    static bool TakesWrite(int offset, std::uint16_t value);
    void Clear(int offset);

private:
    std::uint16_t Flags() const;

    SignalValues signals_{};
    bool servoOn_ = false;
    double torqueLimit_ = 300;
    std::uint16_t inputs_ = 0;
    std::uint16_t alarm_ = 0;
    std::int32_t commandOrigin_ = 0, feedbackOrigin_ = 0;
    double loadRatio_ = 0;   // % of rated torque, averaged
    double temperature_ = 0; // °C above ambient
    std::optional<Clock::time_point> observedAt_;
};

// True when a request (function, start, count) reads the status block or the
// pin coils: the machine then runs, so the values move.
bool ReadsMonitorItems(const std::uint8_t* request, std::size_t size);

} // namespace drivesim
