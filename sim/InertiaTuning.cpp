#include "InertiaTuning.h"

#include "ServoSettings.h"

namespace drivesim {
namespace {

// The inertia ratio parameter: register 32 on the T8, Pr004 on T5/W5.
constexpr int kT8InertiaNumber = 32, kT5InertiaNumber = 4;

void ClearStart(DriveState& state) {
    if (state.ToolWord(tunereg::kStart) != 0)
        state.WriteRegisters(tunereg::kStart, {0});
}

} // namespace

void ActOnTuningStart(DriveState& state, DriveDynamics& dynamics, std::uint16_t value,
                      Clock::time_point now) {
    if (!dynamics.StartEstimate(value, state.ServoOn(), now))
        ClearStart(state);
}

void CollectTuningEnd(DriveState& state, DriveDynamics& dynamics) {
    const auto end = dynamics.TakeEstimateEnd();
    if (!end)
        return;
    if (end->ratio) {
        const int number = state.Model() == DriveModel::T8 ? kT8InertiaNumber : kT5InertiaNumber;
        const int at = state.Table().Find(number);
        if (at >= 0) {
            const Parameter& p = state.Table().Parameters()[at];
            const auto value = static_cast<std::uint32_t>(*end->ratio);
            if (p.shape == ValueShape::Word)
                state.WriteRegisters(p.address, {static_cast<std::uint16_t>(value)});
            else
                state.WriteRegisters(p.address, {static_cast<std::uint16_t>(value & 0xFFFF),
                                                 static_cast<std::uint16_t>(value >> 16)});
        }
    }
    ClearStart(state);
    dynamics.Configure(ReadServoSettings(state), state.ServoOn());
}

} // namespace drivesim
