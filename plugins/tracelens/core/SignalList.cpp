#include "SignalList.h"

#include "Profile.h"
#include "SharedContext.h"

#include <algorithm>
#include <filesystem>

namespace tracelens {

namespace {

constexpr int kFirstB = 32768;
constexpr unsigned long kTextSize = 64;

// Section numbers in file order: A entries 1..qtyA, then B entries from 32768.
std::vector<int> SectionNumbers(const char* file) {
    const int qtyA =
        std::clamp(static_cast<int>(GetPrivateProfileIntA("Setup", "iQtyA", 0, file)), 0, 32767);
    const int qtyB =
        std::clamp(static_cast<int>(GetPrivateProfileIntA("Setup", "iQtyB", 0, file)), 0, 32768);
    std::vector<int> numbers;
    for (int i = 1; i <= qtyA; ++i)
        numbers.push_back(i);
    for (int i = 0; i < qtyB; ++i)
        numbers.push_back(kFirstB + i);
    return numbers;
}

std::string ReadText(const std::string& section, const char* key, const char* fallback,
                     const char* file) {
    char text[kTextSize] = {};
    GetPrivateProfileStringA(section.c_str(), key, fallback, text, kTextSize, file);
    return text;
}

// Linear drives have their own texts under "Name1"/"Unit1" ("-" when none).
std::string ReadModelText(const std::string& section, const char* key, const char* linearKey,
                          int model, const char* file) {
    if (model == kModelW5) {
        std::string text = ReadText(section, linearKey, "-", file);
        if (text.empty() || text[0] != '-')
            return text;
    }
    return ReadText(section, key, "", file);
}

} // namespace

std::vector<SignalEntry> LoadSignalList(const std::string& catalogue, const std::string& names,
                                        int model) {
    std::vector<SignalEntry> list;
    const char* cd = catalogue.c_str();
    for (int number : SectionNumbers(cd)) {
        const std::string section = "Data" + std::to_string(number);
        const int code = static_cast<int>(GetPrivateProfileIntA(section.c_str(), "ID", 0, cd));
        if (code == 0)
            continue;
        SignalEntry entry;
        entry.code = code;
        entry.maximum = static_cast<int>(GetPrivateProfileIntA(section.c_str(), "Max", 1, cd));
        entry.offset = static_cast<int>(GetPrivateProfileIntA(section.c_str(), "Offset", 0, cd));
        list.push_back(entry);
    }
    if (names.empty() || !std::filesystem::exists(names))
        return list;
    // The language file names the entries in its own section order and
    // decides their codes; the maxima stay those of the catalogue's entry k.
    const char* lang = names.c_str();
    std::size_t filled = 0;
    for (int number : SectionNumbers(cd)) {
        if (filled == list.size())
            break;
        const std::string section = "Data" + std::to_string(number);
        const int code = static_cast<int>(GetPrivateProfileIntA(section.c_str(), "ID", 0, lang));
        if (code == 0)
            continue;
        SignalEntry& entry = list[filled++];
        entry.code = code;
        entry.name = ReadModelText(section, "Name", "Name1", model, lang);
        entry.unit = ReadModelText(section, "Unit", "Unit1", model, lang);
    }
    list.resize(filled);
    return list;
}

std::string TraceLanguageFile(const std::string& appDir, int languageId, const char* prefix,
                              const char* extension) {
    const char* code = LanguageCode(languageId);
    if (code == nullptr)
        return {};
    return appDir + "/Language/Trace/" + code + "/" + prefix + code + extension;
}

} // namespace tracelens
