// CMonitorApp: the monitor's module-wide state shared by its window (UI
// thread) and its poll step (the host's comm thread).
#pragma once

#include "DriveLink.h"
#include "MonitorData.h"
#include "MonitorPoll.h"
#include "PluginModule.h"

namespace monitor {

class CMonitorApp {
public:
    static CMonitorApp& Instance();
    PluginModule& Module() { return module_; }
    SharedContext& Context() { return *module_.Context(); }

    // The monitor's steps of CreateDLLDocTemplate: keep the context, load
    // the description files, configure the link.
    void Attach(SharedContext* ctx);
    // ExternThread: link upkeep, then one poll step.
    void ExternThread();

    DriveLink link;
    MonitorItems items;
    MonitorBoard board;

private:
    CMonitorApp();

    PluginModule module_;
};

} // namespace monitor
