// The host's application object: reads the settings, fills the shared
// context, loads the plug-ins, runs the comm thread and owns the main frame.
#pragma once

#include "AboutBox.h"
#include "CommThread.h"
#include "ContextStorage.h"
#include "HostConfig.h"
#include "MainFrame.h"
#include "PluginTable.h"
#include "StringResource.h"

#include <QIcon>
#include <memory>
#include <string>

struct AppPaths {
    std::string appDir;      // start-up folder: Language/, Image/, product data
    std::string pluginDir;   // folder of the plug-in files (beside the program)
    std::string settingsDir; // folder of the Velmora.ini read and written; empty: appDir
};

class CVelmoraApp final : public FrameCommands {
public:
    // Reads "Velmora.ini" in the settings folder.
    explicit CVelmoraApp(AppPaths paths);
    // Writes the remembered settings back, deletes the plug-ins' templates and
    // the parameter store.
    ~CVelmoraApp();
    CVelmoraApp(const CVelmoraApp&) = delete;
    CVelmoraApp& operator=(const CVelmoraApp&) = delete;

    // The start-up sequence; false when a plug-in is broken or the frame
    // cannot be built (the program then ends without a window).
    bool InitInstance();

    // Stops the comm thread between two passes and closes the main frame.
    int ExitInstance();

    // The close handshake with a busy plug-in.
    bool SaveAllModified() override;

    void OnCommand(int commandId) override;

    SharedContext& Context() { return storage_.Context(); }
    const HostConfig& Config() const { return config_; }
    const std::string& IniPath() const { return iniPath_; }
    CMainFrame* MainFrame() const { return frame_.get(); }
    const CommThread& Comm() const { return comm_; }
    const PluginTable& Plugins() const { return plugins_; }
    // A new about box (not shown), for pictures of it.
    std::unique_ptr<CAboutDlg> AboutBox();

    // The word handed to CommLoop on every call.
    int commLoopArg = 0;

private:
    void OpenPlugin(PluginIndex index);
    void ShowAbout();

    AppPaths paths_;
    std::string iniPath_;
    HostConfig config_;
    ModuleHandle hostModule_;
    CStringResource hostTable_;
    ContextStorage storage_;
    bool contextFilled_ = false;
    QIcon appIcon_;
    PluginTable plugins_;
    CommThread comm_;
    std::unique_ptr<CMainFrame> frame_;
};
