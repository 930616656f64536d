// What each holding register and coil of a simulated drive is: a parameter
// word, a tool's command or status register, or nothing (exception 02).
// docs/drive-registers.md is the same table in prose.
#pragma once

#include "ParameterTable.h"

#include <cstdint>
#include <vector>

namespace drivesim {

enum class CellKind : std::uint8_t {
    None,         // no such register: exception 02
    Filler,       // inside a block the editor reads whole: reads 0, refuses writes
    Plain,        // command or setting register of a tool: holds what is written
    Feedback,     // holds what is written (a motion target); reads the fed-back position
    ScopeTrigger, // holds the scope's trigger word; reads the block capture progress
    Status,       // read-only value the drive reports
    Parameter,    // a word of a parameter value
    SaveCommand,  // 1 saves the parameters to EEPROM (T8 also takes 2: apply)
    ResetCommand, // 1 restores the factory defaults
};

struct Cell {
    CellKind kind = CellKind::None;
    std::uint8_t word = 0;   // Parameter: 0 low word, 1 high word
    std::int16_t param = -1; // Parameter: position in the table
};

// Registers with a meaning of their own on every model and per model.
namespace reg {
constexpr std::uint16_t kProbe = 0x1090;
constexpr std::uint16_t kT5Save = 0x1081, kT5Reset = 0x1082;
constexpr std::uint16_t kT8Save = 129, kT8Reset = 130;
constexpr std::uint16_t kT5StatusBase = 0x1000, kT8StatusBase = 896;
// Offsets in the status block.
constexpr int kStatusAlarm = 3, kStatusControlMode = 4, kStatusServo = 5, kStatusBusVoltage = 2;
constexpr int kStatusCount = 32;
constexpr std::uint16_t kCoilServoOn = 38;
constexpr int kCoilCount = 64; // DI 0..15, DO 16..31, servo on 38
} // namespace reg

class RegisterMap {
public:
    // Throws ProductDataError when parameters overlap each other or a register
    // that a tool uses for its commands.
    static RegisterMap Build(const ParameterTable& table);

    const Cell& Register(std::uint16_t address) const { return registers_[address]; }
    bool CoilExists(std::uint16_t address) const { return address < reg::kCoilCount; }
    static bool CoilWritable(std::uint16_t address) { return address == reg::kCoilServoOn; }
    std::uint16_t StatusBase() const { return statusBase_; }

private:
    std::vector<Cell> registers_ = std::vector<Cell>(65536);
    std::uint16_t statusBase_ = 0;
};

} // namespace drivesim
