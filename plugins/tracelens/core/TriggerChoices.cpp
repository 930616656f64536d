#include "TriggerChoices.h"

#include "Profile.h"

#include <algorithm>
#include <filesystem>

namespace tracelens {

namespace {
constexpr unsigned long kTextSize = 64;

void ReadNames(const char* file, int firstSection, std::vector<std::string>& texts, int count) {
    const int n = std::min(count, static_cast<int>(texts.size()));
    for (int i = 0; i < n; ++i) {
        const std::string section = "Data" + std::to_string(firstSection + i);
        char text[kTextSize] = {};
        GetPrivateProfileStringA(section.c_str(), "Name", "", text, kTextSize, file);
        if (text[0] != '\0')
            texts[static_cast<std::size_t>(i)] = text;
    }
}
} // namespace

TriggerChoices DefaultTriggerChoices() {
    return {{"Positive Edge", "Negative Edge", "Either Edge", "Above Level", "Below Level"},
            {"Trigger 1 only", "Trigger 1 OR 2", "Trigger 1 AND 2", "Trigger 2 only"}};
}

TriggerChoices LoadTriggerChoices(const std::string& path) {
    TriggerChoices choices = DefaultTriggerChoices();
    if (path.empty() || !std::filesystem::exists(path))
        return choices;
    const char* file = path.c_str();
    const int conditions =
        std::max(0, static_cast<int>(GetPrivateProfileIntA("Setup", "iQtyCS", 0, file)));
    const int combinations =
        std::max(0, static_cast<int>(GetPrivateProfileIntA("Setup", "iQtyCC", 0, file)));
    ReadNames(file, 1, choices.conditions, conditions);
    ReadNames(file, conditions + 1, choices.combinations, combinations);
    return choices;
}

} // namespace tracelens
