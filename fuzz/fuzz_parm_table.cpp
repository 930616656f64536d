// Parameter tables fed arbitrary definition and description files: a refused
// table leaves the loaded one, and a loaded one indexes only its own records.
#include "FuzzInput.h"
#include "FuzzScratch.h"
#include "ParmLoader.h"
#include "ParmTable.h"

using namespace knobset;

namespace {
// Where the loader looks for the description of table "tab".
constexpr const char* kDescription = "Language/Knobset/CHT/tabCHT.dsc";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzScratch scratch;
    FuzzInput in(data, size);
    const int model = in.Byte() % 3;
    const std::string dir = scratch.Path().string();
    scratch.Write("tab.par", "[Pr000]\nmin=1\nAddress=0\n");
    scratch.Write(kDescription, "[Pr000]\nname=x\n");
    OwnedTable t;
    t.store.iModel = model;
    if (!LoadParmTable(t.store, model, dir, "tab", "rk").ok())
        __builtin_trap();
    scratch.Write("tab.par", in.Piece());
    const std::string dsc = scratch.Write(kDescription, in.RestText());

    if (!LoadParmTable(t.store, model, dir, "tab", "rk").ok()) {
        if (t.records.size() != 1 || FindRecord(t.store, 0) == nullptr)
            __builtin_trap();
        return 0;
    }
    for (int n = 0; n < ParmStore::kIndexSize; ++n) {
        const ParmRecord* r = FindRecord(t.store, n);
        if (r != nullptr && (r->number != n || n >= IndexRange(model)))
            __builtin_trap();
    }
    std::string error;
    ReloadNames(t.store, model, dsc, error);
    return 0;
}
