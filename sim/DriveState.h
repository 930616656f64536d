// Everything a simulated drive remembers: parameter values (in the registers,
// in effect, and saved in EEPROM), the tool registers, the coils and its
// identity. All register and coil access of the Modbus slave goes through here.
#pragma once

#include "EepromFile.h"
#include "Identity.h"
#include "MonitorItems.h"
#include "ParameterTable.h"
#include "RegisterMap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace drivesim {

// Modbus exception codes; 0 means the access was done.
enum ExceptionCode : std::uint8_t {
    kNoException = 0,
    kIllegalFunction = 0x01,
    kIllegalAddress = 0x02,
    kIllegalValue = 0x03,
    kDeviceFailure = 0x04,
};

class DriveState {
public:
    // Takes the parameter values from the EEPROM file (when given and present),
    // else the factory defaults. Throws ProductDataError like LoadEeprom.
    DriveState(ParameterTable table, IdentityLayout layout, std::string eepromPath);

    DriveModel Model() const { return table_.Model(); }
    const ParameterTable& Table() const { return table_; }
    std::vector<std::uint8_t> SlaveId() const { return SlaveIdData(Model(), layout_); }

    ExceptionCode ReadRegisters(std::uint16_t start, std::uint16_t count,
                                std::vector<std::uint16_t>& out) const;
    // All-or-nothing: either every register is writable and the values are
    // taken (a parameter beyond its limits is clamped), or nothing changes.
    ExceptionCode WriteRegisters(std::uint16_t start, const std::vector<std::uint16_t>& words);
    ExceptionCode ReadCoils(std::uint16_t start, std::uint16_t count, std::vector<bool>& out) const;
    ExceptionCode WriteCoils(std::uint16_t start, const std::vector<bool>& bits);

    // Parameter values by number: in the registers, in effect (reboot
    // parameters change only at start-up), and saved in EEPROM.
    std::optional<std::int32_t> Value(int number) const;
    std::optional<std::int32_t> EffectiveValue(int number) const;
    std::optional<std::int32_t> SavedValue(int number) const;
    bool ServoOn() const { return coils_[reg::kCoilServoOn]; }
    // The alarm code of the status block; while it is not 0 the servo stays off.
    void SetAlarm(std::uint16_t code);
    // What the drive's motions report: the fed-back position (registers
    // 180/181) and the motion state, which the drive writes into register 47.
    void SetMotion(std::int32_t feedback, std::uint16_t state);

    // What was last written into a tool register (0 for any other register).
    std::uint16_t ToolWord(std::uint16_t address) const { return plain_[address]; }
    // The register writes since the last call (tool registers and
    // parameters), in order: the drive's moving parts act on them.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> TakeToolWrites();
    // What the scope's trigger register reads: the block capture progress.
    void SetScopeProgress(std::uint16_t progress) { scopeProgress_ = progress; }
    // The live values, pins and alarm of the status block and the pin coils.
    MonitorItems& Monitor() { return monitor_; }

private:
    std::uint16_t ParameterWord(const Cell& cell) const;
    void Commit(int param, std::int64_t value);
    bool CommandValueAllowed(CellKind kind, std::uint16_t value) const;
    void Command(const Cell& cell, std::uint16_t address, std::uint16_t value);
    std::uint16_t StatusWord(std::uint16_t address) const;
    int StatusOffset(std::uint16_t address) const;
    bool SaveToEeprom();
    bool FactoryReset();

    ParameterTable table_;
    RegisterMap map_;
    IdentityLayout layout_;
    std::string eepromPath_;
    std::vector<std::int32_t> values_, effective_, saved_;
    std::vector<std::optional<std::uint16_t>>
        pendingLow_; // low half of a split value awaiting its high half
    std::vector<std::uint16_t> plain_ = std::vector<std::uint16_t>(65536);
    std::vector<bool> coils_ = std::vector<bool>(reg::kCoilCount);
    std::vector<std::pair<std::uint16_t, std::uint16_t>> toolWrites_;
    std::uint16_t scopeProgress_ = 0;
    MonitorItems monitor_;
    std::int32_t feedback_ = 0;
};

} // namespace drivesim
