#include "RouteplanApp.h"

#include "RouteplanStrings.h"

namespace routeplan {

CRouteplanApp& CRouteplanApp::Instance() {
    static CRouteplanApp app;
    return app;
}

CRouteplanApp::CRouteplanApp()
    : module_({"Routeplan", kLangRouteplan, MenuEnableFlags::kRouteplan, 1200, 750},
              &kRouteplanStrings) {}

void CRouteplanApp::Attach(SharedContext* ctx) {
    module_.Attach(ctx);
    link.AttachContext(ctx);
    link.ConfigureFromContext(*ctx);
    jobs = std::make_unique<RouteplanJobs>(*ctx);
}

// The port Portdesk published, and the slave address of the context, as the
// scope follows them.
void CRouteplanApp::LinkUpkeep() {
    SharedContext& ctx = Context();
    if (link.PublishedPortChanged(ctx))
        link.AdoptPublishedPort(ctx);
    const auto slave = static_cast<std::uint8_t>(ctx.Int(kSlaveId).load() & 0xFF);
    if (link.modbus.GetSlaveAddress() != slave)
        link.modbus.SetSlaveAddress(slave);
}

void CRouteplanApp::RunCycle() {
    if (module_.Context() == nullptr || !jobs)
        return;
    LinkUpkeep();
    routeplan::RunCycle(Context(), board, *jobs, motionLink_);
}

} // namespace routeplan
