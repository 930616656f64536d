#include "ProductFiles.h"

#include "ParmTable.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace knobset {
namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

std::string FindIgnoringCase(const std::string& path) {
    if (path.empty() || FileExists(path))
        return path;
    const fs::path wanted(path);
    const fs::path folder = wanted.has_parent_path() ? wanted.parent_path() : fs::path(".");
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    const std::string name = lower(wanted.filename().string());
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == name && it->is_regular_file(ec))
            return (folder / it->path().filename()).string();
    }
    return path;
}

std::string DefinitionPath(const std::string& appDir, const std::string& tableId) {
    return FindIgnoringCase(appDir + "/" + tableId + ".par");
}

std::string LoadDescriptionPath(const std::string& appDir, const std::string& tableId) {
    return FindIgnoringCase(appDir + "/Language/Knobset/CHT/" + tableId + "CHT.dsc");
}

std::string LanguageDescriptionPath(const std::string& appDir, int model, int languageId) {
    const char* code = LanguageCode(languageId);
    if (code == nullptr || !HasTable(model))
        return {};
    return FindIgnoringCase(appDir + "/Language/Knobset/" + code + "/" + DefaultTableId(model) +
                            code + ".dsc");
}

std::string ReferencePath(const std::string& appDir, int languageId) {
    const char* code = LanguageCode(languageId);
    if (code == nullptr)
        return {};
    return appDir + "/Language/Knobset/" + code + "/ParameterRef-RK_905" + code + ".rtx";
}

} // namespace knobset
