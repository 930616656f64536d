// The signals the drive can sample for the scope, by the code the scope writes
// into a channel slot (registers 0x00A2..0x00A5). data/cd.dat lists the same.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace drivesim {

enum class Signal : std::uint8_t {
    SpeedFeedback,    // r/min (W5: mm/s), from the encoder
    SpeedCommand,     // r/min (W5: mm/s), the velocity loop's reference
    TorqueCommand,    // 0.1 % of rated torque, after the torque filter and limit
    MotorCurrent,     // 0.01 A rms
    BusVoltage,       // V
    PositionFeedback, // encoder counts, 32 bits
    PositionError,    // counts, 32 bits
    PositionCommand,  // counts, 32 bits
    FrameNumber,      // test signal: number of the sample frame it travels in
    Count
};

constexpr std::size_t kSignalCount = static_cast<std::size_t>(Signal::Count);

// One value of every signal, taken at the same instant. A wide slot pair
// carries a value whole; a single slot carries its low 16 bits.
using SignalValues = std::array<std::int32_t, kSignalCount>;

struct SignalInfo {
    Signal signal;
    std::uint16_t code;
};

// Every signal with its code, in catalogue order.
const std::array<SignalInfo, kSignalCount>& SignalTable();

// The signal behind a code; nullopt for a code the drive does not know.
std::optional<SignalInfo> SignalByCode(std::uint16_t code);

} // namespace drivesim
