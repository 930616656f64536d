// The list of signals the drive can sample: codes, maxima and offsets from
// "cd.dat", names and units from the language's signal file ("cdENG.dat",
// "cdCHT.dat" or "cdCHS.dat"), both private-profile files.
#pragma once

#include <string>
#include <vector>

namespace tracelens {

struct SignalEntry {
    int code = 0; // written to the drive as the signal of a slot
    std::string name;
    std::string unit;
    int maximum = 1;
    int offset = 0;
};

// `catalogue` is the path of cd.dat, `names` the language's signal file (empty:
// no names). `model` is the drive model; the linear model (1) prefers
// "Name1"/"Unit1". A missing catalogue gives an empty list.
std::vector<SignalEntry> LoadSignalList(const std::string& catalogue, const std::string& names,
                                        int model);

// A file of the scope's language folder, Language/Trace/<L>/<prefix><L><extension>
// under an application folder (empty for an unknown language id).
std::string TraceLanguageFile(const std::string& appDir, int languageId, const char* prefix,
                              const char* extension);

// The language's signal file, cd<L>.dat.
inline std::string SignalNamesPath(const std::string& appDir, int languageId) {
    return TraceLanguageFile(appDir, languageId, "cd", ".dat");
}

} // namespace tracelens
