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
    // utility panel (CHzUtil)
    kStrSaveWave = 320,
    kStrOpenWave = 321,
    kStrClear = 322,
    kStrClearEncoder = 323,
    kStrClearPosition = 324,
    kStrCannotCreate = 325, // 325..329 in ScopeMessage order
    kStrFileSaved = 326,
    kStrCannotOpen = 327,
    kStrReadSuccess = 328,
    kStrReadFailed = 329,
    kStrClearComplete = 330,
    kStrClearFailed = 331,
    kStrMessage = 332,
    kStrWaveFilter = 333,
    kStrExportPng = 334,
    kStrExportCsv = 335,
    kStrPngFilter = 336,
    kStrCsvFilter = 337,
    kStrNoPicture = 338,
    kStrWaveGroup = 339,
    kStrClearGroup = 340,
    kStrExportGroup = 341,
    kStrInfoGroup = 342,
};

extern const ModuleStrings kTracelensStrings;

} // namespace tracelens
