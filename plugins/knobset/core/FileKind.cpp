#include "FileKind.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace knobset {
namespace fs = std::filesystem;

std::string WithExtension(const std::string& path, const std::string& extension) {
    if (path.empty())
        return path;
    return fs::path(path).replace_extension(extension).string();
}

std::string EnsureExtension(const std::string& path, const std::string& extension) {
    if (path.empty() || fs::path(path).has_extension())
        return path;
    return path + extension;
}

bool ReplacesOtherKind(const std::string& path, const std::string& extension) {
    std::error_code error;
    if (!fs::exists(path, error))
        return false;
    const std::string own = fs::path(path).extension().string();
    return !std::equal(
        own.begin(), own.end(), extension.begin(), extension.end(),
        [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

} // namespace knobset
