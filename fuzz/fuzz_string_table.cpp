// Language tables fed arbitrary files: a read always succeeds on a regular
// file, and every id looks up the first entry's text or the resource.
#include "FuzzInput.h"
#include "FuzzScratch.h"
#include "ModuleStrings.h"
#include "StringResource.h"

namespace {

const ResString kStrings[] = {{1, "one"}, {212, "Cascade"}, {4000000000u, "far"}};
VELMORA_MODULE_STRINGS(kModule, kStrings);
ModuleHandle g_module = &kModule;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzScratch scratch;
    FuzzInput in(data, size);
    const unsigned ids[] = {in.Word(), in.Byte(), 212, 4000000000u};
    const std::string file = scratch.Write("T.lng", in.RestText());
    CStringResource table(&g_module);
    if (table.ReadTableFile(file.c_str()) != 1)
        __builtin_trap();
    CStringResource copy = table;
    for (unsigned id : ids) {
        const std::string text = table.GetResString(id);
        if (text.empty() && !LoadResString(g_module, id).empty())
            __builtin_trap();
        if (copy.GetResString(id) != text)
            __builtin_trap();
    }
    return 0;
}
