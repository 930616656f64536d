#include "MonitorApp.h"

#include "MonitorStrings.h"

namespace monitor {

CMonitorApp& CMonitorApp::Instance() {
    static CMonitorApp app;
    return app;
}

CMonitorApp::CMonitorApp()
    : module_({"Monitor", kLangMonitor, MenuEnableFlags::kMonitor, 1200, 750}, &kMonitorStrings) {}

void CMonitorApp::Attach(SharedContext* ctx) {
    module_.Attach(ctx);
    LoadDescriptions(items, ctx->AppDir());
    link.AttachWithTiming(ctx, 1, 10000);
    // Armed, the frame's one-time quick settings would replace this timing
    // with polls 100 ms apart for good.
    link.quickSettings = 0;
}

void CMonitorApp::ExternThread() {
    if (module_.Context() == nullptr)
        return;
    // Every port a Connect publishes is followed (the old one is closed or gone).
    link.FollowPublishedPort(Context());
    ItemLinkOn<DriveLink> requests(link); // through the guarded call
    PollStep(Context(), board, items, requests);
}

} // namespace monitor
