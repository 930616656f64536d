// The data a drive returns for Report Slave ID.
#pragma once

#include "DriveModel.h"

#include <cstdint>
#include <vector>

namespace drivesim {

// Layout '2' carries product code (bytes 14..20), model text (21..27) and
// parameter-table id (28..34) of the additional data, NUL-padded; layout '5'
// is the older T8 firmware whose texts the master knows by the layout alone.
// Both carry the power class after "w:" and the firmware version after "ev:"
// from byte 35 on.
enum class IdentityLayout { Layout2, Layout5 };

struct IdentityTexts {
    const char* productCode;
    const char* modelText;
    const char* tableId;
};

IdentityTexts IdentityOf(DriveModel model);

// Reply data after the byte count: slave id byte, run indicator 0xFF, then the
// additional data bytes.
std::vector<std::uint8_t> SlaveIdData(DriveModel model, IdentityLayout layout);

} // namespace drivesim
