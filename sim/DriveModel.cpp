#include "DriveModel.h"

#include <cctype>

namespace drivesim {

std::optional<DriveModel> ParseDriveModel(std::string_view text) {
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "t5")
        return DriveModel::T5;
    if (lower == "w5")
        return DriveModel::W5;
    if (lower == "t8")
        return DriveModel::T8;
    return std::nullopt;
}

const char* DriveModelName(DriveModel model) {
    switch (model) {
    case DriveModel::T5:
        return "t5";
    case DriveModel::W5:
        return "w5";
    default:
        return "t8";
    }
}

const char* ParameterTableId(DriveModel model) {
    switch (model) {
    case DriveModel::T5:
        return "hq_417";
    case DriveModel::W5:
        return "Whq_417";
    default:
        return "rk_905";
    }
}

} // namespace drivesim
