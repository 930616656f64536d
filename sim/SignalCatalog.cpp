#include "SignalCatalog.h"

namespace drivesim {

const std::array<SignalInfo, kSignalCount>& SignalTable() {
    // Codes 22 and 26 are the ones the scope's clear commands name.
    static const std::array<SignalInfo, kSignalCount> table = {{
        {Signal::SpeedFeedback, 1},
        {Signal::SpeedCommand, 2},
        {Signal::TorqueCommand, 4},
        {Signal::MotorCurrent, 5},
        {Signal::BusVoltage, 6},
        {Signal::PositionFeedback, 22},
        {Signal::PositionError, 24},
        {Signal::PositionCommand, 26},
        {Signal::FrameNumber, 90},
    }};
    return table;
}

std::optional<SignalInfo> SignalByCode(std::uint16_t code) {
    for (const SignalInfo& info : SignalTable())
        if (info.code == code)
            return info;
    return std::nullopt;
}

} // namespace drivesim
