// Gainwise.so: the auto-tuning plug-in's entry points.
#include "DLLTemplate.h"
#include "GainwiseApp.h"
#include "GainwiseView.h"

namespace {

// The template also ends the plug-in's suspended worker when the host
// deletes it at exit.
class CGainwiseTmpl : public CDLLTemplate {
public:
    using CDLLTemplate::CDLLTemplate;
    ~CGainwiseTmpl() override { gainwise::CGainwiseApp::Instance().EndWorker(); }
};

} // namespace

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    gainwise::CGainwiseApp& app = gainwise::CGainwiseApp::Instance();
    app.Attach(ctx);
    return new CGainwiseTmpl(app.Module(),
                             [&app](PluginModule&) { return new gainwise::CGainwiseView(app); });
}

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    gainwise::CGainwiseApp::Instance().RunCycle();
    return 0;
}
