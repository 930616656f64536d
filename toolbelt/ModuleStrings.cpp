#include "ModuleStrings.h"

std::string LoadResString(ModuleHandle module, unsigned id) {
    if (module == nullptr)
        return {};
    for (std::size_t i = 0; i < module->count; ++i) {
        const ResString& entry = module->entries[i];
        if (entry.id == id)
            return entry.text != nullptr ? entry.text : "";
    }
    return {};
}
