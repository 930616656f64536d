// Tracelens.so: the scope plug-in's entry points.
#include "DLLTemplate.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "TracelensView.h"

#include <filesystem>

namespace {

struct ScopePlugin {
    // "Trace" names the language folder: Language/Trace/<L>/.
    PluginModule module{{"Trace", kLangTracelens, MenuEnableFlags::kTracelens, 1280, 800},
                        &tracelens::kTracelensStrings};
    tracelens::CTracelensApp app;
    // cd.dat lies in the working folder the program started in.
    std::string startDir = std::filesystem::current_path().string();
};

ScopePlugin& Plugin() {
    static ScopePlugin plugin;
    return plugin;
}

} // namespace

VELMORA_PLUGIN_EXPORT CMultiDocTemplate* CreateDLLDocTemplate(SharedContext* ctx) {
    ScopePlugin& plugin = Plugin();
    plugin.module.Attach(ctx);
    plugin.app.Attach(ctx);
    return new CDLLTemplate(plugin.module, [&plugin](PluginModule& module) {
        return new tracelens::CTracelensView(module, plugin.app, plugin.startDir);
    });
}

VELMORA_PLUGIN_EXPORT int ExternThread(int) {
    Plugin().app.ExternThread();
    return 0;
}
