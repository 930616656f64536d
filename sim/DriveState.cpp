#include "DriveState.h"

#include <algorithm>

namespace drivesim {
namespace {

constexpr std::uint16_t kBusVoltage = 310; // volts, a healthy 220 V supply
constexpr std::uint16_t kDoServoReady = 16;

} // namespace

DriveState::DriveState(ParameterTable table, IdentityLayout layout, std::string eepromPath)
    : table_(std::move(table)), map_(RegisterMap::Build(table_)), layout_(layout),
      eepromPath_(std::move(eepromPath)) {
    const auto& params = table_.Parameters();
    const SavedValues saved =
        eepromPath_.empty() ? SavedValues{} : LoadEeprom(eepromPath_, Model());
    for (const Parameter& p : params) {
        auto it = saved.find(p.number);
        // A table edited since the save may have narrowed a limit.
        const std::int32_t v =
            it == saved.end() ? p.defaultValue : std::clamp(it->second, p.min, p.max);
        values_.push_back(v);
    }
    effective_ = values_;
    saved_ = values_;
    pendingLow_.resize(params.size());
    coils_[kDoServoReady] = true;
}

std::uint16_t DriveState::ParameterWord(const Cell& cell) const {
    const auto value = static_cast<std::uint32_t>(values_[cell.param]);
    if (cell.word == 1)
        return static_cast<std::uint16_t>(value >> 16);
    const auto& pending = pendingLow_[cell.param];
    return pending ? *pending : static_cast<std::uint16_t>(value);
}

int DriveState::StatusOffset(std::uint16_t address) const {
    return address >= monitorreg::kBlock ? address - monitorreg::kBlock
                                         : address - map_.StatusBase();
}

std::uint16_t DriveState::StatusWord(std::uint16_t address) const {
    const int offset = StatusOffset(address);
    if (const auto word = monitor_.Word(offset))
        return *word;
    if (offset == reg::kStatusBusVoltage)
        return kBusVoltage;
    if (offset == reg::kStatusServo)
        return ServoOn() ? 1 : 0;
    if (offset == reg::kStatusControlMode) {
        // The control mode in effect: Pr001 on T5/W5, register 2 on T8.
        for (std::size_t i = 0; i < table_.Parameters().size(); ++i) {
            const Parameter& p = table_.Parameters()[i];
            if ((Model() == DriveModel::T8 && p.address == 2) ||
                (Model() != DriveModel::T8 && p.number == 1))
                return static_cast<std::uint16_t>(effective_[i]);
        }
    }
    return 0; // no alarm, motor at rest
}

ExceptionCode DriveState::ReadRegisters(std::uint16_t start, std::uint16_t count,
                                        std::vector<std::uint16_t>& out) const {
    out.clear();
    for (std::uint32_t a = start; a < std::uint32_t(start) + count; ++a) {
        if (a > 0xFFFF)
            return kIllegalAddress;
        const Cell& cell = map_.Register(static_cast<std::uint16_t>(a));
        switch (cell.kind) {
        case CellKind::None:
            return kIllegalAddress;
        case CellKind::Filler:
            out.push_back(0);
            break;
        case CellKind::Parameter:
            out.push_back(ParameterWord(cell));
            break;
        case CellKind::Status:
            out.push_back(StatusWord(static_cast<std::uint16_t>(a)));
            break;
        case CellKind::ScopeTrigger:
            out.push_back(scopeProgress_);
            break;
        case CellKind::Feedback:
            out.push_back(static_cast<std::uint16_t>(static_cast<std::uint32_t>(feedback_) >>
                                                     (a % 2 == 0 ? 0 : 16)));
            break;
        default:
            out.push_back(plain_[a]);
            break;
        }
    }
    return kNoException;
}

ExceptionCode DriveState::WriteRegisters(std::uint16_t start,
                                         const std::vector<std::uint16_t>& words) {
    for (std::uint32_t a = start; a < start + words.size(); ++a) {
        if (a > 0xFFFF)
            return kIllegalAddress;
        const CellKind kind = map_.Register(static_cast<std::uint16_t>(a)).kind;
        if (kind == CellKind::Status &&
            MonitorItems::TakesWrite(StatusOffset(static_cast<std::uint16_t>(a)), words[a - start]))
            continue;
        if (kind == CellKind::None || kind == CellKind::Filler || kind == CellKind::Status)
            return kIllegalAddress;
        if (!CommandValueAllowed(kind, words[a - start]))
            return kIllegalValue;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto address = static_cast<std::uint16_t>(start + i);
        const Cell& cell = map_.Register(address);
        if (cell.kind == CellKind::Status) {
            monitor_.Clear(StatusOffset(address));
            continue;
        }
        if (cell.kind == CellKind::SaveCommand || cell.kind == CellKind::ResetCommand) {
            Command(cell, address, words[i]);
            continue;
        }
        toolWrites_.emplace_back(address, words[i]);
        if (cell.kind == CellKind::Plain || cell.kind == CellKind::ScopeTrigger ||
            cell.kind == CellKind::Feedback) {
            plain_[address] = words[i];
            continue;
        }
        const Parameter& p = table_.Parameters()[cell.param];
        if (p.shape == ValueShape::Word) {
            Commit(cell.param, static_cast<std::int16_t>(words[i]));
        } else if (cell.word == 0) {
            pendingLow_[cell.param] = words[i];
        } else {
            const auto low = ParameterWord(Cell{CellKind::Parameter, 0, cell.param});
            Commit(cell.param, static_cast<std::int32_t>((std::uint32_t(words[i]) << 16) | low));
        }
    }
    // A two-register value written by its low word alone keeps its high word;
    // only the split values wait for the high word in a request of its own.
    for (std::size_t i = 0; i < pendingLow_.size(); ++i) {
        const Parameter& p = table_.Parameters()[i];
        if (pendingLow_[i] && p.shape == ValueShape::Long) {
            const std::uint32_t high = static_cast<std::uint32_t>(values_[i]) & 0xFFFF0000u;
            Commit(static_cast<int>(i), static_cast<std::int32_t>(high | *pendingLow_[i]));
        }
    }
    return kNoException;
}

void DriveState::Commit(int param, std::int64_t value) {
    const Parameter& p = table_.Parameters()[param];
    values_[param] = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, p.min, p.max));
    pendingLow_[param].reset();
    if (!p.reboot)
        effective_[param] = values_[param];
}

std::vector<std::pair<std::uint16_t, std::uint16_t>> DriveState::TakeToolWrites() {
    return std::exchange(toolWrites_, {});
}

bool DriveState::CommandValueAllowed(CellKind kind, std::uint16_t value) const {
    if (kind == CellKind::SaveCommand)
        return value <= 1 || (value == 2 && Model() == DriveModel::T8);
    if (kind == CellKind::ResetCommand)
        return value <= 1;
    return true;
}

void DriveState::Command(const Cell& cell, std::uint16_t address, std::uint16_t value) {
    // 0 clears the register, 2 (T8: apply the values just written) is taken
    // as it is, since written values are live at once; 1 runs the command,
    // which reads back 1 only when the drive accepted it.
    bool accepted = true;
    if (value == 1)
        accepted = cell.kind == CellKind::SaveCommand ? SaveToEeprom() : FactoryReset();
    plain_[address] = accepted ? value : 0;
}

bool DriveState::SaveToEeprom() {
    SavedValues values;
    for (std::size_t i = 0; i < values_.size(); ++i)
        values[table_.Parameters()[i].number] = values_[i];
    if (!eepromPath_.empty() && !SaveEeprom(eepromPath_, Model(), values))
        return false;
    saved_ = values_;
    return true;
}

bool DriveState::FactoryReset() {
    if (ServoOn())
        return false; // the drive refuses while the motor is powered
    const auto previous = values_;
    const auto previousEffective = effective_;
    for (std::size_t i = 0; i < values_.size(); ++i)
        Commit(static_cast<int>(i), table_.Parameters()[i].defaultValue);
    if (!SaveToEeprom()) {
        values_ = previous;
        effective_ = previousEffective;
        return false;
    }
    return true;
}

ExceptionCode DriveState::ReadCoils(std::uint16_t start, std::uint16_t count,
                                    std::vector<bool>& out) const {
    out.clear();
    for (std::uint32_t a = start; a < std::uint32_t(start) + count; ++a) {
        if (a > 0xFFFF || !map_.CoilExists(static_cast<std::uint16_t>(a)))
            return kIllegalAddress;
        out.push_back(monitor_.Coil(static_cast<int>(a)).value_or(coils_[a]));
    }
    return kNoException;
}

ExceptionCode DriveState::WriteCoils(std::uint16_t start, const std::vector<bool>& bits) {
    for (std::uint32_t a = start; a < start + bits.size(); ++a)
        if (a > 0xFFFF || !RegisterMap::CoilWritable(static_cast<std::uint16_t>(a)))
            return kIllegalAddress;
    if (monitor_.Alarm() != 0 && start <= reg::kCoilServoOn &&
        reg::kCoilServoOn < start + bits.size() && bits[reg::kCoilServoOn - start])
        return kDeviceFailure; // no servo on while an alarm is raised
    for (std::size_t i = 0; i < bits.size(); ++i)
        coils_[start + i] = bits[i];
    return kNoException;
}

void DriveState::SetAlarm(std::uint16_t code) {
    monitor_.RaiseAlarm(code);
    if (code != 0)
        coils_[reg::kCoilServoOn] = false;
}

void DriveState::SetMotion(std::int32_t feedback, std::uint16_t state) {
    feedback_ = feedback;
    const Cell& cell = map_.Register(47);
    if (cell.kind == CellKind::Parameter) // T8; a T5/W5 carries out no motions
        values_[cell.param] = effective_[cell.param] = state;
}

std::optional<std::int32_t> DriveState::Value(int number) const {
    const int at = table_.Find(number);
    return at < 0 ? std::nullopt : std::optional(values_[at]);
}

std::optional<std::int32_t> DriveState::EffectiveValue(int number) const {
    const int at = table_.Find(number);
    return at < 0 ? std::nullopt : std::optional(effective_[at]);
}

std::optional<std::int32_t> DriveState::SavedValue(int number) const {
    const int at = table_.Find(number);
    return at < 0 ? std::nullopt : std::optional(saved_[at]);
}

} // namespace drivesim
