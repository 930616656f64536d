// Portdesk, the communication-setup plug-in: its entry points, its module
// state and its one application object.
#include "DLLTemplate.h"
#include "PortdeskApp.h"
#include "PortdeskCommLoop.h"
#include "PortdeskTexts.h"
#include "PortdeskView.h"

namespace {

PluginModule& Module() {
    static PluginModule module(PluginTraits{"Portdesk", kLangPortdesk, MenuEnableFlags::kConnect,
                                            400, 300, ChildPlacement::Centred, true, false},
                               &kPortdeskStrings);
    return module;
}

} // namespace

CPortdeskApp& PortdeskApp() {
    static CPortdeskApp app;
    return app;
}

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    Module().Attach(ctx);
    // Portdesk configures no link settings here: the search sets its own.
    PortdeskApp().link.AttachContext(ctx);
    return new CDLLTemplate(
        Module(), [](PluginModule& module) { return new CPortdeskView(module, PortdeskApp()); });
}

VELMORA_PLUGIN_EXPORT int CommLoop(void* /*arg*/) {
    if (SharedContext* ctx = Module().Context())
        RunCommLoop(PortdeskApp(), *ctx);
    return 0;
}
