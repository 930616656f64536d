// Routeplan.so: the internal-position plug-in's entry points.
#include "DLLTemplate.h"
#include "RouteplanApp.h"
#include "RouteplanView.h"

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    routeplan::CRouteplanApp& app = routeplan::CRouteplanApp::Instance();
    app.Attach(ctx);
    return new CDLLTemplate(app.Module(),
                            [&app](PluginModule&) { return new routeplan::CRouteplanView(app); });
}

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    routeplan::CRouteplanApp::Instance().RunCycle();
    return 0;
}
