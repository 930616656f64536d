// Where the suite reads and writes: a build folder keeps everything in one
// place; an installation reads from share/velmora and writes to the user's
// settings folder.
#include "AppFolders.h"
#include "ScopedEnv.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace {

// The settings folder a case names, undone afterwards.
struct ScopedSettingsFolder {
    explicit ScopedSettingsFolder(const std::string& folder) { velmora::SetSettingsFolder(folder); }
    ~ScopedSettingsFolder() { velmora::SetSettingsFolder(""); }
};

TEST(AppFolders, InstalledOnlyInBinBesideShareVelmora) {
    TempDir root;
    std::filesystem::create_directories(root.Path() / "bin");
    std::filesystem::create_directories(root.Path() / "app");
    const std::string bin = root.File("bin");
    const std::string app = root.File("app");

    velmora::AppFolders local = velmora::LocateAppFolders(bin, "/work/here");
    EXPECT_EQ(std::tie(local.installed, local.data, local.settings, local.plugins),
              std::make_tuple(false, "/work/here", "/work/here", bin))
        << "no share/velmora yet";

    root.Write("share/velmora/Velmora.ini", "[ComPortSetup]\n");
    const velmora::AppFolders installed = velmora::LocateAppFolders(bin, "/work/here");
    EXPECT_EQ(std::tie(installed.installed, installed.data, installed.settings, installed.plugins),
              std::make_tuple(true, root.File("share") + "/velmora", velmora::UserSettingsFolder(),
                              root.File("lib") + "/velmora"));

    EXPECT_FALSE(velmora::LocateAppFolders(app, app).installed) << "a folder not named bin";
}

TEST(AppFolders, UserSettingsFolderFollowsTheBaseDirectoryRules) {
    struct Case {
        std::optional<std::string> xdg, home;
        std::string expected;
    };
    const Case cases[] = {
        {"/cfg", "/home/tech", "/cfg/velmora"},
        {"relative/cfg", "/home/tech", "/home/tech/.config/velmora"},
        {"", "/home/tech", "/home/tech/.config/velmora"},
        {std::nullopt, "/home/tech", "/home/tech/.config/velmora"},
        {std::nullopt, std::nullopt, "/tmp/velmora"},
    };
    for (const Case& c : cases) {
        ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(velmora::UserSettingsFolder(), c.expected)
            << c.xdg.value_or("(unset)") << " " << c.home.value_or("(unset)");
    }
}

// A build writes in the working folder; a named folder gets no defaults
// copied, and reading prefers the user's copy over the shipped default.
TEST(AppFolders, SettingsFolderAndTheUsersCopy) {
    EXPECT_EQ(velmora::SettingsFile("Monitor Status.ini"), "./Monitor Status.ini");
    TempDir own, shipped;
    ScopedSettingsFolder scope(own.Path().string());
    EXPECT_EQ(velmora::SettingsFile("Velmora.ini"), own.File("Velmora.ini"));
    EXPECT_TRUE(std::filesystem::is_empty(own.Path()));
    EXPECT_EQ(velmora::ReadableSettingsFile("Velmora.ini", shipped.Path().string()),
              shipped.File("Velmora.ini"));
    own.Write("Velmora.ini", "[PortMap]\nCOM1=/tmp/ttyDrive\n");
    EXPECT_EQ(velmora::ReadableSettingsFile("Velmora.ini", shipped.Path().string()),
              own.File("Velmora.ini"));
}

} // namespace
