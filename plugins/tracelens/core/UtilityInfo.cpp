#include "UtilityInfo.h"

#include "Profile.h"
#include "SignalList.h"

#include <algorithm>

namespace tracelens {

namespace {
// Far more than a help list holds; a count beyond it is a broken file.
constexpr int kMaxCount = 1000;
constexpr unsigned long kLineSize = 256;

int Count(const char* section, const char* key, const char* file) {
    return std::clamp(static_cast<int>(GetPrivateProfileIntA(section, key, 0, file)), 0, kMaxCount);
}
} // namespace

std::vector<std::string> LoadUtilityInfo(const std::string& file) {
    std::vector<std::string> lines;
    const char* path = file.c_str();
    const int sections = Count("Setup", "iQty", path);
    for (int s = 1; s <= sections; ++s) {
        const std::string section = "Data" + std::to_string(s);
        const int count = Count(section.c_str(), "Info_iQty", path);
        for (int n = 0; n < count; ++n) {
            char text[kLineSize] = {};
            const std::string key = "name" + std::to_string(n);
            GetPrivateProfileStringA(section.c_str(), key.c_str(), "", text, kLineSize, path);
            lines.emplace_back(text);
        }
    }
    return lines;
}

std::string UtilityInfoPath(const std::string& appDir, int languageId) {
    return TraceLanguageFile(appDir, languageId, "Util", ".lng");
}

} // namespace tracelens
