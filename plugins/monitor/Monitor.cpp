// Monitor.so: the monitor plug-in's entry points.
#include "DLLTemplate.h"
#include "MonitorApp.h"
#include "MonitorView.h"

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    monitor::CMonitorApp& app = monitor::CMonitorApp::Instance();
    app.Attach(ctx);
    return new CDLLTemplate(app.Module(),
                            [&app](PluginModule&) { return new monitor::CMonitorView(app); });
}

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    monitor::CMonitorApp::Instance().ExternThread();
    return 0;
}
