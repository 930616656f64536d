#include "AppFolders.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace velmora {
namespace {

std::mutex g_lock;
std::string g_settingsFolder; // empty: the default of SettingsFolder()

// <root>/share/velmora of a program in <root>/bin, else empty.
std::string InstalledRoot(const std::string& programFolder) {
    const fs::path bin(programFolder);
    if (bin.filename() != "bin")
        return {};
    std::error_code error;
    const fs::path root = bin.parent_path();
    return fs::is_directory(root / "share" / "velmora", error) ? root.string() : std::string();
}

AppFolders CurrentProgramFolders() {
    return LocateAppFolders(ProgramFolder(), ".");
}

} // namespace

std::string ProgramFolder() {
    static const std::string folder = [] {
        std::error_code error;
        const fs::path program = fs::canonical("/proc/self/exe", error);
        return error ? std::string(".") : program.parent_path().string();
    }();
    return folder;
}

AppFolders LocateAppFolders(const std::string& programFolder, const std::string& localFolder) {
    const std::string root = InstalledRoot(programFolder);
    if (root.empty())
        return {localFolder, localFolder, programFolder, false};
    return {root + "/share/velmora", UserSettingsFolder(), root + "/lib/velmora", true};
}

std::string UserSettingsFolder() {
    // A relative XDG_CONFIG_HOME is ignored, as the XDG base directories have it.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
        return std::string(xdg) + "/velmora";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::string(home) + "/.config/velmora";
    return "/tmp/velmora";
}

std::string SettingsFolder() {
    {
        std::lock_guard lock(g_lock);
        if (!g_settingsFolder.empty())
            return g_settingsFolder;
    }
    return CurrentProgramFolders().settings;
}

void SetSettingsFolder(const std::string& folder) {
    std::lock_guard lock(g_lock);
    g_settingsFolder = folder;
}

std::string SettingsFile(const std::string& name) {
    const fs::path file = fs::path(SettingsFolder()) / name;
    const AppFolders folders = CurrentProgramFolders();
    // Only an installation keeps its defaults apart; a folder named on the
    // command line holds its own settings.
    bool useDefaults = folders.installed;
    {
        std::lock_guard lock(g_lock);
        useDefaults = useDefaults && g_settingsFolder.empty();
    }
    if (!useDefaults)
        return file.string();
    const fs::path shipped = fs::path(folders.data) / name;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (!fs::exists(file, error) && fs::is_regular_file(shipped, error)) {
        fs::copy_file(shipped, file, fs::copy_options::skip_existing, error);
        // The copy is the user's own file, writable whatever the shipped mode.
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                        error);
    }
    return file.string();
}

std::string ReadableSettingsFile(const std::string& name, const std::string& dataFolder) {
    const fs::path own = fs::path(SettingsFolder()) / name;
    std::error_code error;
    return fs::exists(own, error) ? own.string() : (fs::path(dataFolder) / name).string();
}

} // namespace velmora
