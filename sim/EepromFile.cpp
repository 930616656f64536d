#include "EepromFile.h"

#include "AtomicFile.h"
#include "IniDocument.h"
#include "ParameterTable.h"

#include <charconv>
#include <filesystem>

namespace drivesim {
namespace {

constexpr const char* kDrive = "Drive";
constexpr const char* kEeprom = "Eeprom";
constexpr std::size_t kMaxEepromBytes = 1u << 20;

} // namespace

SavedValues LoadEeprom(const std::string& path, DriveModel model) {
    SavedValues values;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return values;
    std::string text;
    if (!toolbelt::ReadWholeFile(path, text, kMaxEepromBytes) ||
        text.find('\0') != std::string::npos)
        throw ProductDataError(path + ": not a readable EEPROM state file");
    const auto doc = toolbelt::IniDocument::Parse(text);
    const std::string* stored = doc.Find(kDrive, "Model");
    if (stored == nullptr)
        throw ProductDataError(path + ": not an EEPROM state file (no [Drive] Model)");
    if (ParseDriveModel(*stored) != model)
        throw ProductDataError(path + ": EEPROM of a " + *stored + " drive, not of a " +
                               DriveModelName(model));
    for (const std::string& key : doc.KeyNames(kEeprom)) {
        int number = -1;
        std::int32_t value = 0;
        const std::string& text_value = *doc.Find(kEeprom, key);
        auto [p1, e1] = std::from_chars(key.data() + std::min<std::size_t>(2, key.size()),
                                        key.data() + key.size(), number);
        auto [p2, e2] =
            std::from_chars(text_value.data(), text_value.data() + text_value.size(), value);
        if (!key.starts_with("Pr") || e1 != std::errc() || p1 != key.data() + key.size() ||
            e2 != std::errc() || p2 != text_value.data() + text_value.size())
            throw ProductDataError(path + ": bad EEPROM entry " + key + "=" + text_value);
        values[number] = value;
    }
    return values;
}

bool SaveEeprom(const std::string& path, DriveModel model, const SavedValues& values) {
    std::string text = "; EEPROM of a simulated Velmora drive\n[Drive]\nModel=";
    text += DriveModelName(model);
    text += "\n[Eeprom]\n";
    for (const auto& [number, value] : values)
        text += "Pr" + std::to_string(number) + "=" + std::to_string(value) + "\n";
    return toolbelt::WriteFileAtomically(path, text);
}

} // namespace drivesim
