// A broken plug-in: a library without CreateDLLDocTemplate.
#include "MultiDocTemplate.h"
#include "TestPluginLog.h"

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    TestLogRecord("Extern:NoEntry");
    return 0;
}
