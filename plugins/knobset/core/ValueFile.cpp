#include "ValueFile.h"

#include "AtomicFile.h"
#include "ParmTable.h"
#include "Profile.h"
#include "SectionFile.h"
#include "ValueFileText.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace knobset {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool SaveValueFile(const ParmStore& store, const std::string& path, const DriveIdentity& identity,
                   std::string& error, int languageId) {
    std::string existing;
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !toolbelt::ReadWholeFile(path, existing)) {
        error = "Cannot read the existing file: " + path;
        return false;
    }
    std::string text;
    if (!ComposeValueText(existing, store, identity, languageId, text, error))
        return false;
    std::string written;
    if (!toolbelt::WriteFileAtomically(path, text)) {
        error = "Cannot write file: " + path;
        return false;
    }
    if (!toolbelt::ReadWholeFile(path, written) || written != text) {
        error = "The file does not read back as written: " + path;
        return false;
    }
    return true;
}

bool LoadValueFile(ParmStore& store, const std::string& path, DriveIdentity& identity,
                   std::string& error, int languageId) {
    std::string text;
    if (!toolbelt::ReadWholeFile(path, text, SectionFile::kMaxBytes)) {
        error = "Cannot read file: " + path;
        return false;
    }
    ValueFileContents contents;
    if (!ReadValueText(text, store, languageId, path, contents, error))
        return false;
    ApplyValueContents(contents, store, identity);
    return true;
}

void StartOfflineIdentity(DriveIdentity& identity, int model) {
    for (int e = 0; e < DriveIdentity::kTexts; ++e)
        identity.Set(e, "");
    identity.Set(2, ModelTag(model));
    identity.Set(3, DefaultTableId(model));
}

std::string ReadTypeCap(const std::string& path) {
    char text[256] = {};
    GetPrivateProfileStringA("Setup", "TypeCap", "", text, sizeof text, path.c_str());
    return text;
}

bool TypeCapMatchesModel(const std::string& typeCap, int model) {
    const char* tag = ModelTag(model);
    return *tag != '\0' && typeCap.find(tag) != std::string::npos;
}

} // namespace knobset
