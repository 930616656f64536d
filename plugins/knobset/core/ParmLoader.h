// Loads a parameter table from its definition and description files into the
// host's ParmStore, and re-reads the names for the user's language.
#pragma once

#include "SharedContext.h"

#include <string>

namespace knobset {

struct LoadResult {
    enum Status {
        kLoaded,
        kNoTable,     // a model without a parameter table: nothing done
        kMissingFile, // `path` does not exist (the "Unsupported StdFile" warning)
        kBadFile,     // a file is malformed; `error` says which and where
    };
    Status status = kNoTable;
    std::string path;
    std::string error;
    bool ok() const { return status == kLoaded; }
};

// Loads table `tableId` for `model` from `appDir`. The T8 paths are built only
// when `modelTag` contains "rk". On any failure the table is left unchanged.
LoadResult LoadParmTable(ParmStore& store, int model, const std::string& appDir,
                         const std::string& tableId, const std::string& modelTag);

// Sets every record's name from `descriptionPath` ("name1" first for W5,
// "-" when absent). A missing or malformed file leaves the names unchanged and
// returns false with `error` set.
bool ReloadNames(ParmStore& store, int model, const std::string& descriptionPath,
                 std::string& error);

// The warning text for a missing product-data file, from the editor's strings
// 224 and 225.
std::string MissingFileMessage(const std::string& versionText, const std::string& pathText,
                               const std::string& tableId, const std::string& path);

} // namespace knobset
