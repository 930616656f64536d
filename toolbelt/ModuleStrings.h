// Compiled-in string resources of one module (the host or a plug-in): the texts
// a module shows when its language table has no entry for an id.
#pragma once

#include <cstddef>
#include <string>

struct ResString {
    unsigned id;
    const char* text;
};

struct ModuleStrings {
    const ResString* entries;
    std::size_t count;
};

// A module's handle names its resource table; null means "no resources".
using ModuleHandle = const ModuleStrings*;

// The resource text of `id`, or an empty string when the module has none.
std::string LoadResString(ModuleHandle module, unsigned id);

// Declares a module's resource table from a static array of ResString.
#define VELMORA_MODULE_STRINGS(name, array)                                                        \
    const ModuleStrings name {                                                                     \
        array, sizeof(array) / sizeof((array)[0])                                                  \
    }
