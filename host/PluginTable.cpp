#include "PluginTable.h"

#include <dlfcn.h>

namespace {

struct PluginFile {
    const char* file;
    const char* extraEntry; // bound besides CreateDLLDocTemplate; null for none
};

constexpr PluginFile kPluginFiles[kPluginCount] = {
    {"Portdesk.so", "CommLoop"},     {"Knobset.so", "ExternThread"},
    {"Morphtab.so", nullptr},        {"Tracelens.so", "ExternThread"},
    {"Monitor.so", "ExternThread"},  {"Glidebay.so", "ExternThread"},
    {"Nudgepad.so", "ExternThread"}, {"Gainwise.so", "ExternThread"},
    {"Routeplan.so", "ExternThread"}};

template <class Fn>
Fn Bind(void* module, const char* name) {
    return reinterpret_cast<Fn>(::dlsym(module, name));
}

} // namespace

const char* PluginFileName(PluginIndex index) {
    return kPluginFiles[index].file;
}

PluginTable::~PluginTable() {
    DeleteTemplates();
}

bool PluginTable::LoadAll(const std::string& directory, SharedContext& ctx, void* commLoopArg) {
    for (int i = 0; i < kPluginCount; ++i) {
        const PluginFile& entry = kPluginFiles[i];
        const std::string path = directory + "/" + entry.file;
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr)
            continue; // a missing plug-in is no error; its command stays inert
        PluginSlot& slot = slots_[i];
        slot.module = module;
        auto create = Bind<CreateDLLDocTemplateFn>(module, "CreateDLLDocTemplate");
        if (create == nullptr)
            return false;
        slot.docTemplate = create(&ctx);
        if (slot.docTemplate == nullptr)
            return false;
        if (entry.extraEntry == nullptr)
            continue;
        if (i == kPortdesk) {
            slot.commLoop = Bind<CommLoopFn>(module, entry.extraEntry);
            if (slot.commLoop != nullptr)
                slot.commLoop(commLoopArg);
        } else {
            slot.externThread = Bind<ExternThreadFn>(module, entry.extraEntry);
        }
    }
    return true;
}

void PluginTable::DeleteTemplates() {
    for (PluginIndex index : kTemplateDeleteOrder) {
        delete slots_[index].docTemplate;
        slots_[index].docTemplate = nullptr;
    }
}
