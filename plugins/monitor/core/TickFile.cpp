#include "TickFile.h"

#include "AppFolders.h"
#include "AtomicFile.h"
#include "IniDocument.h"
#include "Profile.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace monitor {
namespace fs = std::filesystem;

const char* const kTickSections[4] = {"Motion Monitor", "Status Monitor", "Input Signal Monitor",
                                      "Output Signal Monitor"};

namespace {

constexpr const char* kFileName = "Monitor Status.ini";
constexpr std::size_t kMaxFileBytes = 1 << 20;

std::string ProgramTickFile(const std::string& appDir) {
    return appDir + "/Language/Monitor/" + kFileName;
}

bool Writable(const std::string& file) {
    const fs::path path(file);
    const std::string folder = path.parent_path().string();
    std::error_code error;
    if (!fs::is_directory(folder, error) || ::access(folder.c_str(), W_OK) != 0)
        return false;
    return !fs::exists(path, error) || ::access(file.c_str(), W_OK) == 0;
}

} // namespace

std::string TickFilePath(const std::string& appDir) {
    const std::string own = ProgramTickFile(appDir);
    if (Writable(own))
        return own;
    return velmora::UserSettingsFolder() + "/" + kFileName;
}

std::string TickFileToRead(const std::string& appDir) {
    const std::string path = TickFilePath(appDir);
    std::error_code error;
    return fs::exists(path, error) ? path : ProgramTickFile(appDir);
}

std::vector<int> ReadTicks(const std::string& path, int list, int rows) {
    const char* section = kTickSections[list];
    const int stored = static_cast<int>(GetPrivateProfileIntA(section, "iQty", -1, path.c_str()));
    std::vector<int> ticks(static_cast<std::size_t>(rows), 1);
    for (int row = 0; row < rows && row < stored; ++row) {
        const std::string key = "Motion" + std::to_string(row);
        ticks[row] = GetPrivateProfileIntA(section, key.c_str(), 1, path.c_str()) == 0 ? 0 : 1;
    }
    return ticks;
}

bool WriteTicks(const std::string& path, const std::array<std::vector<int>, 4>& ticks) {
    std::string text;
    std::error_code error;
    if (fs::exists(path, error) && !toolbelt::ReadWholeFile(path, text, kMaxFileBytes))
        return false; // never replace a file that cannot be read
    toolbelt::IniDocument document = toolbelt::IniDocument::Parse(text);
    for (int list = 0; list < 4; ++list) {
        const char* section = kTickSections[list];
        document.Set(section, "iQty", std::to_string(ticks[list].size()));
        for (std::size_t row = 0; row < ticks[list].size(); ++row)
            document.Set(section, "Motion" + std::to_string(row), ticks[list][row] ? "1" : "0");
    }
    fs::create_directories(fs::path(path).parent_path(), error);
    return toolbelt::WriteFileAtomically(path, document.Serialize());
}

} // namespace monitor
