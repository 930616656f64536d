// A scratch application folder with a plug-in folder of chosen test plug-ins,
// and a fixture that starts the host there with the test log recording.
#pragma once

#include "QtWaitUntil.h"
#include "TempDir.h"
#include "TestPluginLog.h"
#include "VelmoraApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

class HostFolder {
public:
    HostFolder() { std::filesystem::create_directories(PluginDir()); }

    std::string AppDir() const { return temp_.Path().string(); }
    std::string PluginDir() const { return (temp_.Path() / "plugins").string(); }
    AppPaths Paths() const { return {AppDir(), PluginDir()}; }
    const TempDir& Temp() const { return temp_; }

    // Puts the test plug-in `built` (relative to the test plug-in folder, e.g.
    // "good/Knobset.so") into the plug-in folder under `file`.
    void AddPlugin(const std::string& file, const std::string& built) const {
        std::filesystem::create_symlink(std::string(TEST_PLUGIN_DIR) + "/" + built,
                                        std::filesystem::path(PluginDir()) / file);
    }
    // All nine well-formed plug-ins.
    void AddAllGoodPlugins() const {
        for (const char* name : {"Portdesk", "Knobset", "Morphtab", "Tracelens", "Monitor",
                                 "Glidebay", "Nudgepad", "Gainwise", "Routeplan"})
            AddPlugin(std::string(name) + ".so", std::string("good/") + name + ".so");
    }

private:
    TempDir temp_;
};

class HostTest : public testing::Test {
protected:
    void SetUp() override {
        TestLogMarkUiThread();
        TestLogStart();
    }
    // Starts the host (with the nine well-formed plug-ins if `plugins`);
    // whether it started.
    [[nodiscard]] bool Start(bool plugins) {
        if (plugins)
            folder.AddAllGoodPlugins();
        host = std::make_unique<CVelmoraApp>(folder.Paths());
        return host->InitInstance();
    }

    HostFolder folder;
    std::unique_ptr<CVelmoraApp> host;
};
