// The scope's string ids and compiled-in English texts (the language tables
// in Language/Trace/<L>/<L>.lng replace them).
#pragma once

#include "ModuleStrings.h"

namespace tracelens {

enum StringId : unsigned {
    kStrTitle = 200,
    kStrReady = 201,
    kStrRetry = 202,
    kStrLineTooSlow = 203,
};

extern const ModuleStrings kTracelensStrings;

} // namespace tracelens
