#include "MonitorData.h"

#include "Profile.h"

#include <algorithm>

namespace monitor {
namespace {

constexpr unsigned long kTextCapacity = 256; // at most 255 characters

std::string Section(int item) {
    return "Motion" + std::to_string(item + 1);
}

int Int(const std::string& section, const char* key, int fallback, const std::string& path) {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key, fallback, path.c_str()));
}

std::string Text(const std::string& section, const std::string& key, const std::string& fallback,
                 const std::string& path) {
    char buffer[kTextCapacity];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, sizeof buffer,
                             path.c_str());
    return buffer;
}

const char* const kFiles[kGroups] = {"Motion.dat", "Status.dat", "Input Signal.dat",
                                     "Output Signal.dat"};

// "name<i>.0" is the raw value, "name<i>.1" its name.
// Entries a file does not have keep the current ones.
std::vector<ValueName> ReadValueNames(const std::string& section, int count,
                                      const std::string& path,
                                      const std::vector<ValueName>& current) {
    std::vector<ValueName> names;
    for (int i = 0; i < std::min(count, kMaxItems); ++i) {
        const std::string key = "name" + std::to_string(i);
        const bool known = i < static_cast<int>(current.size());
        names.push_back({Int(section, (key + ".0").c_str(), known ? current[i].raw : -1, path),
                         Text(section, key + ".1", known ? current[i].name : "", path)});
    }
    return names;
}

} // namespace

std::string MonitorFolder(const std::string& appDir) {
    return appDir + "/Language/Monitor/";
}

void LoadGroup(ItemGroup& group, Group kind, const std::string& path) {
    const int quantity = Int("Setup", "iQty", -1, path);
    group.count = std::clamp(quantity, 0, kMaxItems);
    for (int i = 0; i < group.count; ++i) {
        MonitorItem& item = group.items[i];
        const std::string section = Section(i);
        item.name = Text(section, "Name", "", path);
        item.address = Int(section, "Address", -1, path);
        item.datasize = Int(section, "Datasize", -1, path);
        item.value = 0;
        item.read = false;
        item.check = 0;
        if (kind == kMotion) {
            item.unit = Text(section, "Unit", "", path);
            item.type = Int(section, "Type", -1, path);
        }
        if (kind == kMotion || kind == kStatus) {
            item.clear = Int(section, "Clear", 0, path);
            item.offset = Int(section, "Offset", -1, path);
            item.scale = Int(section, "Scale", -1, path);
        }
        if (kind == kOutput)
            item.unit = Text(section, "Text", "", path);
        if (kind != kMotion)
            item.number = Int(section, "Number", -1, path);
        if (kind == kInput || kind == kOutput) {
            item.infoQty = Int(section, "Info_iQty", -1, path);
            for (int t = 0; t < kPinTexts; ++t)
                item.pins[t] = Text(section, "name0." + std::to_string(t), "", path);
        }
    }
}

void LoadValueNames(ItemGroup& status, const std::string& path) {
    int named = 0;
    for (int i = 0; i < status.count; ++i) {
        MonitorItem& item = status.items[i];
        const std::string section = Section(i);
        item.infoQty = Int(section, "Info_iQty", item.infoQty, path);
        if (item.infoQty > 0 && named < kMaxNamedStatusItems) {
            item.valueNames = ReadValueNames(section, item.infoQty, path, item.valueNames);
            ++named;
        }
    }
}

void LoadDescriptions(MonitorItems& items, const std::string& appDir) {
    const std::string folder = MonitorFolder(appDir);
    for (int g = 0; g < kGroups; ++g)
        LoadGroup(items[g], static_cast<Group>(g), folder + kFiles[g]);
    LoadValueNames(items[kStatus], folder + "CHT/StatusCHT.dat");
}

void LoadLanguageNames(MonitorItems& items, const std::string& appDir, const char* code) {
    const std::string folder = MonitorFolder(appDir) + code + "/";
    const std::string motion = folder + "Motion" + code + ".dat";
    const std::string status = folder + "Status" + code + ".dat";
    for (int i = 0; i < items[kMotion].count; ++i) {
        MonitorItem& item = items[kMotion].items[i];
        item.name = Text(Section(i), "Name", item.name, motion);
        item.unit = Text(Section(i), "Unit", item.unit, motion);
    }
    for (int i = 0; i < items[kStatus].count; ++i) {
        MonitorItem& item = items[kStatus].items[i];
        item.name = Text(Section(i), "Name", item.name, status);
    }
    LoadValueNames(items[kStatus], status);
}

} // namespace monitor
