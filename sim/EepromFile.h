// The drive's EEPROM kept in a small INI file, so a simulator started again
// with the same file is the same drive with the parameters it had saved.
#pragma once

#include "DriveModel.h"

#include <cstdint>
#include <map>
#include <string>

namespace drivesim {

using SavedValues = std::map<int, std::int32_t>; // parameter number -> value

// Values saved in `path`; empty when the file does not exist yet. Throws
// ProductDataError for a file that is unreadable, not an EEPROM file, holds
// non-numeric values or was written by another drive model.
SavedValues LoadEeprom(const std::string& path, DriveModel model);

// Replaces the file atomically; false when that failed (the old file stays).
bool SaveEeprom(const std::string& path, DriveModel model, const SavedValues& values);

} // namespace drivesim
