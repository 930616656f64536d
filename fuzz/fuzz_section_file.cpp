// The editor's section reader fed arbitrary text: a refused text leaves the
// reader as it was, and texts never exceed their limit.
#include "FuzzInput.h"
#include "SectionFile.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    char section[16];
    std::snprintf(section, sizeof section, "Pr%03d", in.Word() % 1600);
    const std::string key = in.Piece();
    knobset::SectionFile file;
    std::string error;
    if (!file.Parse("[Pr000]\nmin=5\n", "seed", error))
        __builtin_trap();
    if (!file.Parse(in.RestText(), "fuzz", error)) {
        if (error.rfind("fuzz", 0) != 0 || file.Int("Pr000", "min", 0) != 5)
            __builtin_trap();
        return 0;
    }
    for (const std::string& name : {std::string(section), std::string("Pr000")}) {
        bool found = false;
        const std::string text = file.Text(name, key, "-", &found);
        if (text.size() > knobset::SectionFile::kMaxText || (!found && text != "-") ||
            (found && !file.HasSection(name)))
            __builtin_trap();
        file.Int(name, key, 0);
    }
    return 0;
}
