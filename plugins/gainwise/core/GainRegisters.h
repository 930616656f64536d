// Where the five gain parameters and the EEPROM save live on each drive
// model. The T8 keeps them at registers 32, 16, 17, 18 and 20 and saves
// through register 129; T5 and W5 keep Pr004, Pr100, Pr101, Pr102 and Pr104
// at their own registers (256 · group + 2 · index) and save through 0x1081.
// Every model takes each value as two registers, low word first.
#pragma once

#include "GainMath.h"
#include "SharedContext.h"

#include <optional>

namespace gainwise {

struct GainRegisterMap {
    std::array<unsigned short, kGainParms> address;
    unsigned short eepromSave;
};

// nullopt for a model without the gain parameters.
std::optional<GainRegisterMap> RegistersFor(int model);

// The ranges a transfer to `model` takes: the fixed ranges, narrowed by the
// limits of the parameter table in `parms` when it holds that model's table.
GainRanges RangesFor(int model, const ParmStore& parms);

} // namespace gainwise
