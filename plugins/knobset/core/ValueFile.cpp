#include "ValueFile.h"

#include "AtomicFile.h"
#include "IniDocument.h"
#include "ParmTable.h"
#include "ProductFiles.h"
#include "Profile.h"
#include "SectionFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace knobset {
namespace {

constexpr const char* kSetup = "Setup";
// Identity keys of section "Setup" and the identity element each holds.
constexpr struct {
    const char* key;
    int element;
} kIdentityKeys[] = {{"TypeCap", 2}, {"DrvVer1", 3}, {"DrvVer2", 4}, {"MID", 6}, {"EncVer", 7}};

bool UsesT8Layout(const DriveIdentity& identity) {
    return identity.Get(1).find("rk") != std::string::npos;
}

std::string T8Section(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "Pr%02d", number);
    return text;
}

} // namespace

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool SaveValueFile(const ParmStore& store, const std::string& path, const DriveIdentity& identity,
                   std::string& error) {
    std::string text;
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !toolbelt::ReadWholeFile(path, text)) {
        error = "Cannot read the existing file: " + path;
        return false;
    }
    toolbelt::IniDocument doc = toolbelt::IniDocument::Parse(text);
    bool ok = doc.Set(kSetup, "FileVersion", "0.0.2");
    for (const auto& k : kIdentityKeys)
        ok = doc.Set(kSetup, k.key, identity.Get(k.element)) && ok;
    const bool t8 = UsesT8Layout(identity);
    const int range = t8 ? 128 : ParmStore::kIndexSize;
    for (int n = 0; n < range; ++n) {
        const ParmRecord* r = FindRecord(store, n);
        if (r == nullptr)
            continue;
        const std::string section = t8 ? T8Section(n) : SectionName(n);
        if (t8) {
            char address[16];
            std::snprintf(address, sizeof address, "0x%02x", r->address);
            ok = doc.Set(section, "Address", address) && ok;
        }
        ok = doc.Set(section, "V", std::to_string(r->setupValue)) && ok;
        ok = doc.Set(section, "cmt", r->cmt) && ok; // a comment with a line break is refused
    }
    if (!toolbelt::WriteFileAtomically(path, doc.Serialize())) {
        error = "Cannot write file: " + path;
        return false;
    }
    if (!ok)
        error = "Some comments could not be saved (line breaks are not allowed).";
    return true;
}

bool LoadValueFile(ParmStore& store, const std::string& path, DriveIdentity& identity,
                   std::string& error) {
    std::string text;
    if (!toolbelt::ReadWholeFile(path, text, SectionFile::kMaxBytes)) {
        error = "Cannot read file: " + path;
        return false;
    }
    SectionFile file;
    if (!file.Parse(text, path, error))
        return false;
    if (!file.HasSection(kSetup)) {
        error = path + ": not a parameter value file (no [Setup] section)";
        return false;
    }
    const toolbelt::IniDocument setup = toolbelt::IniDocument::Parse(text);
    const int model = store.iModel.load();
    struct Value {
        ParmRecord* record;
        int value;
        std::string cmt;
    };
    std::vector<Value> values;
    for (int n = 0; n < IndexRange(model); ++n) {
        ParmRecord* r = FindRecord(store, n);
        if (r == nullptr || (model == kModelT8 && n >= 128))
            continue;
        const std::string section = model == kModelT8 ? T8Section(n) : SectionName(n);
        values.push_back(
            {r, file.Int(section, "V", 0), file.Text(section, "cmt", {}).substr(0, 255)});
    }
    for (const auto& k : kIdentityKeys) {
        const std::string* value = setup.Find(kSetup, k.key);
        identity.Set(k.element, value != nullptr ? value->substr(0, 255) : std::string());
    }
    for (Value& v : values) {
        v.record->driveValue = v.record->setupValue = v.value;
        v.record->cmt = std::move(v.cmt);
    }
    return true;
}

std::string ReadTypeCap(const std::string& path) {
    char text[256] = {};
    GetPrivateProfileStringA(kSetup, "TypeCap", "", text, sizeof text, path.c_str());
    return text;
}

bool TypeCapMatchesModel(const std::string& typeCap, int model) {
    const char* tag = ModelTag(model);
    return *tag != '\0' && typeCap.find(tag) != std::string::npos;
}

} // namespace knobset
