// The drive families the simulator can play.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace drivesim {

enum class DriveModel { T5, W5, T8 };

// "t5", "w5", "t8" (any letter case).
std::optional<DriveModel> ParseDriveModel(std::string_view text);
const char* DriveModelName(DriveModel model);
// The parameter table a model loads: "hq_417", "Whq_417", "rk_905".
const char* ParameterTableId(DriveModel model);

} // namespace drivesim
