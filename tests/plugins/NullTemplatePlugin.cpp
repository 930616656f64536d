// A broken plug-in: its CreateDLLDocTemplate returns no template.
#include "MultiDocTemplate.h"
#include "TestPluginLog.h"

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext*) {
    TestLogRecord("Create:NullTemplate");
    return nullptr;
}

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    TestLogRecord("Extern:NullTemplate");
    return 0;
}
