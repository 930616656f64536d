// CRouteplanApp: the internal-position tool's module-wide state, shared by
// its window (UI thread) and its cycle entry (the host's comm thread).
#pragma once

#include "DriveLink.h"
#include "MotionLink.h"
#include "PluginModule.h"
#include "RouteplanCycle.h"

#include <memory>

namespace routeplan {

class CRouteplanApp {
public:
    static CRouteplanApp& Instance();
    PluginModule& Module() { return module_; }
    SharedContext& Context() { return *module_.Context(); }

    // The tool's steps of CreateDLLDocTemplate: keep the context and
    // configure the link.
    void Attach(SharedContext* ctx);
    // One call of the cycle entry (ExternThread).
    void RunCycle();

    DriveLink link;
    RouteplanBoard board;
    std::unique_ptr<RouteplanJobs> jobs;

private:
    CRouteplanApp();
    void LinkUpkeep();

    PluginModule module_;
    MotionLinkOn<DriveLink> motionLink_{link};
};

} // namespace routeplan
