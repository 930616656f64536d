// Value files fed arbitrary text: load, save over the same text, load again.
// A file that loads saves, and every value, comment and identity text of the
// first load survives the second.
#include "FuzzInput.h"
#include "ParmTable.h"
#include "SharedContext.h"
#include "ValueFileText.h"

using namespace knobset;

namespace {

void Add(OwnedTable& t, int number, int address) {
    ParmRecord r;
    r.number = number;
    r.address = address;
    t.records.push_back(r);
    t.index[static_cast<std::size_t>(number)] = static_cast<int>(t.records.size() - 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int model = in.Byte() % 3;
    const int languages[] = {kLanguageEnglish, kLanguageTraditional, kLanguageSimplified};
    const int language = languages[in.Byte() % 3];
    OwnedTable t;
    t.store.iModel = model;
    for (int n : {0, 1, 13, 105, 167})
        Add(t, n, n + 1);
    if (model != kModelT8)
        Add(t, 1512, 0);
    const std::string text = in.RestText();

    ValueFileContents first;
    std::string error;
    if (!ReadValueText(text, t.store, language, "fuzz", first, error))
        return 0;
    ApplyValueContents(first, t.store, t.identity);
    std::string saved;
    if (!ComposeValueText(text, t.store, t.identity, language, saved, error))
        __builtin_trap(); // a file that loads must save
    ValueFileContents second;
    if (!ReadValueText(saved, t.store, kLanguageEnglish, "saved", second, error) ||
        !(second == first))
        __builtin_trap();
    return 0;
}
