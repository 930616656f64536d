// Knobset.so: the parameter editor plug-in's entry points.
#include "DLLTemplate.h"
#include "KnobsetApp.h"
#include "KnobsetView.h"

namespace {

// The editor's template also stops the editor's own worker when the host
// deletes it at exit.
class CKnobsetTemplate : public CDLLTemplate {
public:
    using CDLLTemplate::CDLLTemplate;
    ~CKnobsetTemplate() override { knobset::CKnobsetApp::Instance().StopWorker(); }
};

} // namespace

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    knobset::CKnobsetApp& app = knobset::CKnobsetApp::Instance();
    app.Attach(ctx);
    return new CKnobsetTemplate(app.Module(),
                                [&app](PluginModule&) { return new knobset::CKnobsetView(app); });
}

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    knobset::CKnobsetApp::Instance().RunJobRoutine();
    return 0;
}
