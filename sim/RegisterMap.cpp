#include "RegisterMap.h"

#include "MonitorItems.h"

#include <string>

namespace drivesim {
namespace {

struct Range {
    std::uint16_t first, last;
    CellKind kind;
};

// Tool registers on every model: host control key and mode, sampling command,
// tuning start, scope setup, motion target and distance, move speed, jog and
// homing commands, link probe, scope clear commands.
constexpr Range kCommon[] = {
    {131, 132, CellKind::Plain},
    {144, 145, CellKind::Plain},
    {161, 168, CellKind::Plain},
    {169, 169, CellKind::ScopeTrigger},
    {170, 174, CellKind::Plain},
    {180, 181, CellKind::Feedback},
    {182, 183, CellKind::Plain},
    {1214, 1214, CellKind::Plain},
    {2001, 2002, CellKind::Plain},
    {reg::kProbe, reg::kProbe, CellKind::Plain},
    {5020, 5020, CellKind::Plain},
    {5022, 5022, CellKind::Plain},
};

// T5/W5: the motion registers 36, 46, 47 and 129..130 lie in free slots of
// parameter group 0; EEPROM commands and status live above the parameters.
constexpr Range kT5[] = {
    {36, 36, CellKind::Plain},
    {46, 47, CellKind::Plain},
    {129, 130, CellKind::Plain},
    {reg::kT5Save, reg::kT5Save, CellKind::SaveCommand},
    {reg::kT5Reset, reg::kT5Reset, CellKind::ResetCommand},
    {reg::kT5StatusBase, reg::kT5StatusBase + reg::kStatusCount - 1, CellKind::Status},
};

// T8: EEPROM commands, DI origin type, status block, capability word, homing options.
constexpr Range kT8[] = {
    {reg::kT8Save, reg::kT8Save, CellKind::SaveCommand},
    {reg::kT8Reset, reg::kT8Reset, CellKind::ResetCommand},
    {849, 849, CellKind::Plain},
    {reg::kT8StatusBase, reg::kT8StatusBase + reg::kStatusCount - 1, CellKind::Status},
    {939, 939, CellKind::Status},
    {monitorreg::kBlock, monitorreg::kBlock + reg::kStatusCount - 1, CellKind::Status},
    {1222, 1222, CellKind::Plain},
};

void Claim(std::vector<Cell>& cells, std::uint32_t address, const Cell& cell,
           const std::string& who) {
    if (address > 0xFFFF)
        throw ProductDataError(who + " runs past register 65535");
    if (cells[address].kind != CellKind::None)
        throw ProductDataError(who + " overlaps register " + std::to_string(address) +
                               ", which is already in use");
    cells[address] = cell;
}

} // namespace

RegisterMap RegisterMap::Build(const ParameterTable& table) {
    RegisterMap map;
    const bool t8 = table.Model() == DriveModel::T8;
    auto claimRanges = [&](const auto& ranges) {
        for (const Range& r : ranges)
            for (std::uint32_t a = r.first; a <= r.last; ++a)
                Claim(map.registers_, a, Cell{r.kind, 0, -1}, "tool register");
    };
    claimRanges(kCommon);
    if (t8)
        claimRanges(kT8);
    else
        claimRanges(kT5);
    map.statusBase_ = t8 ? reg::kT8StatusBase : reg::kT5StatusBase;

    const auto& params = table.Parameters();
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Parameter& p = params[i];
        const int words = p.shape == ValueShape::Word ? 1 : 2;
        for (int w = 0; w < words; ++w)
            Claim(map.registers_, p.address + w,
                  Cell{CellKind::Parameter, static_cast<std::uint8_t>(w),
                       static_cast<std::int16_t>(i)},
                  "Pr" + std::to_string(p.number) + " (register " + std::to_string(p.address + w) +
                      ")");
    }
    if (!t8) {
        // The editor reads registers 256g .. 256g+199 of every group 0..15.
        for (int g = 0; g < 16; ++g)
            for (int a = 256 * g; a < 256 * g + 200; ++a)
                if (map.registers_[a].kind == CellKind::None)
                    map.registers_[a].kind = CellKind::Filler;
    }
    return map;
}

} // namespace drivesim
